// DlgConfig: its controls, toolbar and menus.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ColourPickerHost.h"
#include "ComboBox.h"
#include "DlgConfig.h"
#include "Folvo.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "OleColor.h"
#include "TintoraIds.h"

namespace {
struct Option {
    const char* caption;
    const char* tag;  // the key in [Options]
    const char* tip;
};
constexpr Option kOptions[] = {
    {"Enable printing in color?", "ColourPrint", "Print in color"},
    {"Appointments require contact to be defined?", "CustomerRequired", "Contact must be defined"},
    {"Show reminders when mouse is over schedule?", "PopupReminders", "Show reminders"},
    {"Auto-scroll view window with respect to time?", "Autoscroll", "Auto-scroll view window"},
    {"Show customer name on time bars?", "DispCustomer", "Show customer name on time bars?"},
    {"Use military time (00:00 - 23:59)", "UseMilitaryTime", "Use military time (00:00 - 23:59)"},
    {"Aggressive debugging (slow!)", "AggressiveDebug", "Enable aggressive debugging"},
};
struct Colour {
    const char* caption;
    const char* tag;  // the key in [Colours] and the chart's property
};
constexpr Colour kColours[] = {
    {"Schedule Title", "TitleBackColor"}, {"Schedule List", "ListBackColor"},
    {"Weekend", "WeekendColor"},          {"Ruler", "RulerBackColor"},
    {"Background", "BackColor"},          {"Selection", "SelectBackColor"},
};

QGroupBox* frame(QWidget* parent, const QString& caption, QWidget* content) {
    auto* box = new QGroupBox(caption, parent);
    (new QVBoxLayout(box))->addWidget(content);
    return box;
}
}  // namespace

uint32_t DlgConfig::ButtonColour(const QPushButton& button) {
    return button.property("Colour").toUInt();
}

void DlgConfig::SetButtonColour(QPushButton& button, uint32_t colour) {
    button.setProperty("Colour", QVariant::fromValue(colour));
    button.setStyleSheet(QString("background-color: %1; border: 1px solid gray;")
                             .arg(plat::OleToQColor(colour).name()));
}

void DlgConfig::buildControls() {
    auto* left = new QVBoxLayout;
    auto* database = new QWidget(this);
    TxtDatabase = new QLineEdit(database);
    TxtDatabase->setObjectName("TxtDatabase");
    BtnFind = new QPushButton("Find", database);
    BtnFind->setObjectName("BtnFind");
    BtnFind->setAutoDefault(false);
    auto* row = new QHBoxLayout(database);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(TxtDatabase, 1);
    row->addWidget(BtnFind);
    left->addWidget(frame(this, "Database", database));

    auto* purge = new QWidget(this);
    LblPurge = new QLabel(purge);
    LblPurge->setObjectName("LblPurge");
    LblPurge->setMinimumWidth(100);
    SpinPurge = new plat::Nudgel(Qt::Vertical, purge);
    SpinPurge->setObjectName("SpinPurge");
    SpinPurge->setFixedSize(18, 28);
    BtnPurge = new QPushButton("Purge Now", purge);
    BtnPurge->setObjectName("BtnPurge");
    BtnPurge->setAutoDefault(false);
    row = new QHBoxLayout(purge);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(LblPurge, 1);
    row->addWidget(SpinPurge);
    row->addWidget(BtnPurge);
    left->addWidget(frame(this, "Purge Data Before Date", purge));

    CbPageSize = new plat::ComboBox(this);
    CbPageSize->setObjectName("CbPageSize");
    left->addWidget(frame(this, "Printer Page Size", CbPageSize));
    Label1[6] = new QLabel(
        "If this workstation is usually used to create appointments for a certain task type "
        "or for a particular customer, select these as defaults below.",
        this);
    Label1[6]->setWordWrap(true);
    left->addWidget(Label1[6]);
    CbTask = new plat::ComboBox(this);
    CbTask->setObjectName("CbTask");
    left->addWidget(frame(this, "Default Task", CbTask));
    CbCustomer = new plat::ComboBox(this);
    CbCustomer->setObjectName("CbCustomer");
    left->addWidget(frame(this, "Default Customer", CbCustomer));
    left->addStretch();

    auto* right = new QVBoxLayout;
    auto* options = new QGroupBox("Options", this);
    auto* optionList = new QVBoxLayout(options);
    for (size_t i = 0; i < ChkOption.size(); ++i) {
        ChkOption[i] = new QCheckBox(kOptions[i].caption, options);
        ChkOption[i]->setObjectName(QString("ChkOption%1").arg(i));
        ChkOption[i]->setProperty("Tag", kOptions[i].tag);
        ChkOption[i]->setToolTip(kOptions[i].tip);
        optionList->addWidget(ChkOption[i]);
        connect(ChkOption[i], &QCheckBox::toggled, this,
                [this, i] { ChkOption_Click(static_cast<int>(i)); });
    }
    right->addWidget(options);
    auto* colours = new QGroupBox("Colors", this);
    auto* colourGrid = new QGridLayout(colours);
    for (size_t i = 0; i < BtnColour.size(); ++i) {
        BtnColour[i] = new QPushButton(colours);
        BtnColour[i]->setObjectName(QString("BtnColour%1").arg(i));
        BtnColour[i]->setProperty("Tag", kColours[i].tag);
        BtnColour[i]->setFixedSize(40, 22);
        BtnColour[i]->setAutoDefault(false);
        Label1[i] = new QLabel(kColours[i].caption, colours);
        const int r = static_cast<int>(i % 3), c = static_cast<int>(i / 3) * 2;
        colourGrid->addWidget(BtnColour[i], r, c);
        colourGrid->addWidget(Label1[i], r, c + 1);
        connect(BtnColour[i], &QPushButton::clicked, this,
                [this, i] { BtnColour_Click(static_cast<int>(i)); });
    }
    right->addWidget(colours);
    right->addStretch();

    auto* layout = new QVBoxLayout(this);
    buildMenus();
    layout->setMenuBar(MenuBar);
    layout->addWidget(Toolbar1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout->addLayout(columns);

    // The picker is invisible until its palette drops, right of the cursor.
    ColourPick = new ColourPickerHost(this, PosnCRight, "DlgConfig");
    FilDlg = new plat::Folvo(this);
    FilDlg->setObjectName("FilDlg");

    connect(BtnFind, &QPushButton::clicked, this, [this] { BtnFind_Click(); });
    connect(FilDlg, &plat::Folvo::OK, this, [this] { FilDlg_OK(); });
    connect(ColourPick, &ColourPickerHost::ColorClick, this, &DlgConfig::ColourPick_ColorClick);
    connect(SpinPurge, &plat::Nudgel::Click, this, &DlgConfig::SpinPurge_Click);
    connect(BtnPurge, &QPushButton::clicked, this, [this] { BtnPurge_Click(); });
    connect(CbPageSize, &plat::ComboBox::Click, this, [this] { CbPageSize_Click(); });
    connect(CbCustomer, &plat::ComboBox::Click, this, [this] { CbCustomer_Click(); });
    connect(CbTask, &plat::ComboBox::Click, this, [this] { CbTask_Click(); });
}

void DlgConfig::buildMenus() {
    Toolbar1 = new plat::KeyedToolbar(this);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->addButton("Exit", "Exit", "Exit", QIcon(), "Exit");
    Toolbar1->addButton("Save", "Save", "Save Configuration", QIcon(), "Save");
    Toolbar1->addButton("Help", "Help", "Online Help", QIcon(), "Help");
    connect(Toolbar1, &plat::KeyedToolbar::ButtonClick, this,
            [this](const QString& key) { Toolbar1_ButtonClick(key); });

    MenuBar = new QMenuBar(this);
    mnuFile = MenuBar->addMenu("&File");
    mnuFileSave = mnuFile->addAction("&Save", this, [this] { Toolbar1_ButtonClick("Save"); });
    mnuFile->addSeparator();
    mnuFileExit = mnuFile->addAction("E&xit", this, [this] { Toolbar1_ButtonClick("Exit"); });
    mnuHelp = MenuBar->addAction("&Help", this, [this] { Toolbar1_ButtonClick("Help"); });
}
