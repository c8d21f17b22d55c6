#include "CTintoraPropPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace {

const int kShortMin = std::numeric_limits<int16_t>::min();
const int kShortMax = std::numeric_limits<int16_t>::max();

}  // namespace

CTintoraPropPage::CTintoraPropPage(QWidget* parent)
    : plat::PropertyPage(parent),
      m_cbPosition(new QComboBox(this)),
      m_txtWindowXPosn(numberEdit(IdcWindowXPosn)),
      m_txtWindowYPosn(numberEdit(IdcWindowYPosn)),
      m_txtWinXOffset(numberEdit(IdcWinXOffset)),
      m_txtWinYOffset(numberEdit(IdcWinYOffset)),
      m_chkShowSelect(new QCheckBox("Show Select", this)),
      m_chkEnabled(new QCheckBox("Enabled", this)) {
    // A drop-down combo box: its text can be typed into, but only the chosen entry counts.
    m_cbPosition->setEditable(true);
    m_cbPosition->setInsertPolicy(QComboBox::NoInsert);
    m_cbPosition->addItems({"0 - Bottom of Cursor", "1 - Top of Cursor", "2 - Right of Cursor",
                            "3 - Left of Cursor", "4 - Bottom of Control", "5 -Top of Control",
                            "6 - Right of Control", "7 - Left of Control",
                            "8 - Calculated Position", "9 - Center of Screen"});
    m_cbPosition->model()->sort(0);
    m_cbPosition->setProperty("itemId", IdcPosition);
    m_chkShowSelect->setProperty("itemId", IdcShowSelect);
    m_chkEnabled->setProperty("itemId", IdcEnabled);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Position :", this), 0, 0);
    grid->addWidget(m_cbPosition, 0, 1, 1, 3);
    grid->addWidget(new QLabel("Window X Position :", this), 1, 0);
    grid->addWidget(m_txtWindowXPosn, 1, 1);
    grid->addWidget(new QLabel("Window Y Position :", this), 2, 0);
    grid->addWidget(m_txtWindowYPosn, 2, 1);
    grid->addWidget(new QLabel("Window X Offset :", this), 1, 2);
    grid->addWidget(m_txtWinXOffset, 1, 3);
    grid->addWidget(new QLabel("Window Y Offset :", this), 2, 2);
    grid->addWidget(m_txtWinYOffset, 2, 3);
    grid->addWidget(m_chkShowSelect, 3, 1);
    grid->addWidget(m_chkEnabled, 3, 3);

    connect(m_cbPosition, &QComboBox::currentIndexChanged, this, [this] { SetDirty(); });
    connect(m_chkShowSelect, &QCheckBox::toggled, this, [this] { SetDirty(); });
    connect(m_chkEnabled, &QCheckBox::toggled, this, [this] { SetDirty(); });
}

QLineEdit* CTintoraPropPage::numberEdit(int id) {
    auto* edit = new QLineEdit(this);
    edit->setProperty("itemId", id);
    connect(edit, &QLineEdit::textEdited, this, [this] { SetDirty(); });
    return edit;
}

QWidget* CTintoraPropPage::Item(int id) const {
    for (QWidget* w : findChildren<QWidget*>())
        if (w->property("itemId").toInt() == id) return w;
    return nullptr;
}

void CTintoraPropPage::DoDataExchange(plat::PageExchange& dx) {
    dx.Check(m_chkEnabled, "Enabled", m_enabled);
    dx.ComboIndex(m_cbPosition, "Position", m_position);
    dx.Check(m_chkShowSelect, "ShowSelect", m_showSelect);
    dx.Number(m_txtWindowXPosn, "WindowXPosn", m_windowXPosn, kShortMin, kShortMax);
    dx.Number(m_txtWindowYPosn, "WindowYPosn", m_windowYPosn, kShortMin, kShortMax);
    dx.Number(m_txtWinXOffset, "WinXOffset", m_winXOffset, kShortMin, kShortMax);
    dx.Number(m_txtWinYOffset, "WinYOffset", m_winYOffset, kShortMin, kShortMax);
}
