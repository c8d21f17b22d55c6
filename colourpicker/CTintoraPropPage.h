#pragma once
#include "PropertyPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// The General property page: Position, the stored window position and the offsets,
// ShowSelect and Enabled. Positions and offsets are 16-bit; a number outside that range
// is refused rather than stored wrapped.
class CTintoraPropPage : public plat::PropertyPage {
    Q_OBJECT

public:
    // Item ids of the page's dialog.
    enum ItemId {
        IdcPosition = 201,
        IdcWindowXPosn = 202,
        IdcWindowYPosn = 203,
        IdcShowSelect = 204,
        IdcEnabled = 205,
        IdcWinXOffset = 206,
        IdcWinYOffset = 207,
    };

    explicit CTintoraPropPage(QWidget* parent = nullptr);
    QString Caption() const override { return "General"; }
    // The item of that id (tests and the frame find items by id).
    QWidget* Item(int id) const;

protected:
    void DoDataExchange(plat::PageExchange& dx) override;

private:
    QLineEdit* numberEdit(int id);

    // The page's copies of the properties, all 0 until the first load.
    int m_enabled = 0;
    int m_position = 0;
    int m_showSelect = 0;
    int m_windowXPosn = 0;
    int m_windowYPosn = 0;
    int m_winXOffset = 0;
    int m_winYOffset = 0;

    QComboBox* m_cbPosition;
    QLineEdit* m_txtWindowXPosn;
    QLineEdit* m_txtWindowYPosn;
    QLineEdit* m_txtWinXOffset;
    QLineEdit* m_txtWinYOffset;
    QCheckBox* m_chkShowSelect;
    QCheckBox* m_chkEnabled;
};
