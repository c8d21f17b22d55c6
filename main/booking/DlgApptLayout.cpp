// DlgAppt: its controls, where they go as the window's size changes, and the reference
// boxes' focus step.
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>

#include "ClsForms.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "DlgAppt.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "SharedObjects.h"
#include "Tabrix.h"

namespace {
constexpr int kTw = DlgAppt::kTwipsPerPixel;
constexpr int kFrameTopTw = 480;      // below the toolbar
constexpr int kFrame1WidthTw = 3855;  // the details frame keeps its width
constexpr int kListTopTw = 600;
constexpr int kMoveLabelHeightTw = 450;
constexpr int kBarHeight = 28;  // pixels: the toolbar's row
}  // namespace

void DlgAppt::buildControls() {
    setMinimumSize(kMinWidthTw / kTw, kMinHeightTw / kTw);
    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName("MenuBar");
    Toolbar1 = new plat::KeyedToolbar(this);
    Toolbar1->setObjectName("Toolbar1");
    m_client = new QWidget(this);

    Frame1[0] = new QGroupBox("Resource/Timeslot", m_client);
    Frame1[1] = new QGroupBox("Appointment Details", m_client);
    for (int i = 0; i < 2; ++i) Frame1[i]->setObjectName(QString("Frame1_%1").arg(i));
    CbResource = new plat::ComboBox(Frame1[0]);
    CbResource->setObjectName("CbResource");
    LbTimeSlot = new plat::Tabrix(Frame1[0]);
    LbTimeSlot->setObjectName("LbTimeSlot");
    LblMove = new QLabel("Move Appointment", Frame1[0]);
    LblMove->setObjectName("LblMove");
    LblMove->setAlignment(Qt::AlignCenter);
    LblMove->hide();

    QWidget* details = Frame1[1];
    auto label = [details](const char* text, int y) {
        auto* l = new QLabel(text, details);
        l->setGeometry(8, y + 3, 66, 18);
    };
    auto line = [details](const char* name, int y) {
        auto* box = new QLineEdit(details);
        box->setObjectName(name);
        box->setGeometry(76, y, 172, 22);
        return box;
    };
    label("Type", 20);
    CbTask = new plat::ComboBox(details);
    CbTask->setObjectName("CbTask");
    CbTask->setGeometry(76, 20, 172, 22);
    label("Customer", 48);
    CbCustomer = new plat::ComboBox(details);
    CbCustomer->setObjectName("CbCustomer");
    CbCustomer->setGeometry(76, 48, 172, 22);
    label("Ref 01", 76);
    TxtRef01 = line("TxtRef01", 76);
    label("Ref 02", 102);
    TxtRef02 = line("TxtRef02", 102);
    label("Ref 03", 128);
    TxtRef03 = line("TxtRef03", 128);
    label("Comments", 154);
    TxtComments = line("TxtComments", 154);
    for (QLineEdit* box : {TxtRef01, TxtRef02, TxtRef03}) SharedObjects::Forms().SelectAllOnFocus(*box);

    label("Start", 184);
    LblStart = new QLabel(details);
    LblStart->setObjectName("LblStart");
    LblStart->setGeometry(76, 187, 84, 18);
    SpinStart = new plat::Nudgel(Qt::Vertical, details);
    SpinStart->setObjectName("SpinStart");
    SpinStart->setGeometry(164, 182, 20, 26);
    SpinStart->setToolTip("Adjust appointment start time");
    label("End", 212);
    LblEnd = new QLabel(details);
    LblEnd->setObjectName("LblEnd");
    LblEnd->setGeometry(76, 215, 84, 18);
    SpinEnd = new plat::Nudgel(Qt::Vertical, details);
    SpinEnd->setObjectName("SpinEnd");
    SpinEnd->setGeometry(164, 210, 20, 26);
    SpinEnd->setToolTip("Adjust appointment end time");
    label("Date", 242);
    SpinDate = new plat::Nudgel(Qt::Horizontal, details);
    SpinDate->setObjectName("SpinDate");
    SpinDate->setZeroArrow(plat::Nudgel::Arrow::Back);  // 0 steps a day back
    SpinDate->setGeometry(76, 240, 48, 24);
    SpinDate->setToolTip("Date Forward/Back");

    QStyle* style = QApplication::style();
    const std::pair<QStyle::StandardPixmap, const char*> pictures[] = {
        {QStyle::SP_DialogOkButton, "Save And Exit"},
        {QStyle::SP_DialogSaveButton, "Save Appointment"},
        {QStyle::SP_BrowserReload, "Repeat Appointment"},
        {QStyle::SP_TrashIcon, "Delete Appointment"}};
    for (int i = 0; i < 6; ++i) {
        BtnTask[i] = new QPushButton(details);
        BtnTask[i]->setObjectName(QString("BtnTask%1").arg(i));
        BtnTask[i]->setAutoDefault(false);  // Enter in a text box saves nothing
        if (i < 4) {
            BtnTask[i]->setIcon(style->standardIcon(pictures[i].first));
            BtnTask[i]->setToolTip(pictures[i].second);
            BtnTask[i]->setGeometry(8 + 36 * i, 276, 32, 28);
        } else {
            BtnTask[i]->setText(i == 4 ? kMoveCaption : kCopyCaption);
            BtnTask[i]->setToolTip(i == 4 ? "Move Appointment" : "Copy Appointment");
            BtnTask[i]->setGeometry(154 + 48 * (i - 4), 276, 46, 28);
        }
        connect(BtnTask[i], &QPushButton::clicked, this, [this, i] { BtnTask_Click(i); });
    }

    connect(LbTimeSlot, &plat::Tabrix::ItemClick, this, &DlgAppt::LbTimeslot_ItemClick);
    connect(LbTimeSlot, &plat::Tabrix::RowMoved, this, &DlgAppt::LbTimeslot_RowMoved);
    connect(CbResource, &plat::ComboBox::Click, this, [this] { CbResource_Click(); });
    connect(CbTask, &plat::ComboBox::Click, this, [this] { CbTask_Click(); });
    connect(CbCustomer, &plat::ComboBox::Click, this, [this] { CbCustomer_Click(); });
    connect(SpinStart, &plat::Nudgel::Click, this, &DlgAppt::SpinStart_Click);
    connect(SpinEnd, &plat::Nudgel::Click, this, &DlgAppt::SpinEnd_Click);
    connect(SpinDate, &plat::Nudgel::Click, this, &DlgAppt::SpinDate_Click);
    resize(kMinWidthTw / kTw, kMinHeightTw / kTw);
    Form_Resize();
}

DlgAppt::Geometry DlgAppt::Layout(int widthTw, int heightTw, bool movePending) {
    Geometry g{};
    g.frame0Width = widthTw - 4305;
    g.frame0Height = heightTw - 1275;
    g.listWidth = g.frame0Width - 240;
    g.listHeight = g.frame0Height - (movePending ? 1080 : 720);
    g.moveLabelTop = kListTopTw + g.listHeight;
    g.frame1Left = widthTw - 4080;
    return g;
}

void DlgAppt::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void DlgAppt::Form_Resize() {
    // Placing the controls can resize the window again; that nested step does nothing.
    if (m_inResize) return;
    m_inResize = true;
    const int barHeight = MenuBar->sizeHint().height();
    MenuBar->setGeometry(0, 0, width(), barHeight);
    Toolbar1->setGeometry(0, barHeight, width(), kBarHeight);
    // The frames stand 480 twips below the menu bar, the toolbar's row included.
    const int top = barHeight + kBarHeight;
    m_client->setGeometry(0, top, width(), height() - top);
    const int frameTop = kFrameTopTw / kTw - kBarHeight;
    const Geometry g = Layout(width() * kTw, height() * kTw, MovePending);
    const int frameHeight = g.frame0Height / kTw;
    Frame1[0]->setGeometry(120 / kTw, frameTop, g.frame0Width / kTw, frameHeight);
    Frame1[1]->setGeometry(g.frame1Left / kTw, frameTop, kFrame1WidthTw / kTw, frameHeight);
    CbResource->setGeometry(120 / kTw, 240 / kTw, g.listWidth / kTw, 24);
    LbTimeSlot->setGeometry(120 / kTw, kListTopTw / kTw, g.listWidth / kTw, g.listHeight / kTw);
    LblMove->setGeometry(120 / kTw, g.moveLabelTop / kTw, g.listWidth / kTw,
                         kMoveLabelHeightTw / kTw);
    m_inResize = false;
}

