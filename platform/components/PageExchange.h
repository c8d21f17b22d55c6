#pragma once
#include <QString>
#include <QVariant>
#include <vector>

#include "DispatchTable.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

// The data exchange of a property page, in one procedure for both directions: loading
// reads each property from the control by its name into the page's member and on into
// its item; saving reads each item into its member and collects the value for the
// control. Saving writes nothing until Commit, and Commit writes nothing when any item
// was refused, so a page with one bad entry never half-applies.
namespace plat {

class OleControl;

class PageExchange {
public:
    PageExchange(OleControl& control, bool saving) : m_control(control), m_saving(saving) {}

    bool IsSaving() const { return m_saving; }
    void Check(QCheckBox* box, const QString& property, int& member);
    // Only the selected index is exchanged; text typed into an editable box is not.
    void ComboIndex(QComboBox* combo, const QString& property, int& member);
    // A whole number from minimum to maximum; anything else is refused.
    void Number(QLineEdit* edit, const QString& property, int& member, int minimum, int maximum);

    bool ok() const { return m_failedItem == nullptr; }
    QString error() const { return m_error; }
    QWidget* failedItem() const { return m_failedItem; }
    // Saving: puts the collected values in the order of the calls. False when an item
    // was refused (nothing put) or the control refused a value.
    bool Commit();

private:
    int load(const QString& property) const;
    void collect(const QString& property, int value);

    OleControl& m_control;
    bool m_saving;
    std::vector<std::pair<DispId, int>> m_pending;
    QWidget* m_failedItem = nullptr;
    QString m_error;
};

}  // namespace plat
