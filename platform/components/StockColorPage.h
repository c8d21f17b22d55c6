#pragma once
#include <QList>
#include <vector>

#include "ClassId.h"
#include "PropertyPage.h"

class QComboBox;
class QLineEdit;
class QLabel;

// The stock colour page: edits every colour property of a control. Pick the property,
// then a colour from the sixteen standard ones or type its value in hexadecimal
// ("C0C0C0", "&H8000000F" or "0x8000000F"; a system colour is kept as its value).
// Apply writes the properties that were changed.
namespace plat {

class StockColorPage : public PropertyPage {
    Q_OBJECT

public:
    static const ClassId kClsid;

    explicit StockColorPage(QWidget* parent = nullptr);
    QString Caption() const override { return "Colors"; }
    bool Apply() override;

    QComboBox* propertyBox() const { return m_property; }
    QLineEdit* valueEdit() const { return m_value; }
    // The value shown for the chosen property, as the page would write it.
    uint32_t pendingValue(int index) const;
    // Parses the hexadecimal forms above; false for anything else.
    static bool ParseColor(const QString& text, uint32_t& value);

protected:
    void DoDataExchange(PageExchange& dx) override;

private:
    struct Entry {
        DispId id;
        uint32_t value;
        bool changed;
    };
    void showEntry(int index);
    // Takes the value for the chosen property; the text shows it unless it came from there.
    void choose(uint32_t value, bool showText);

    QComboBox* m_property;
    QLineEdit* m_value;
    QLabel* m_swatch;
    std::vector<Entry> m_entries;
};

}  // namespace plat
