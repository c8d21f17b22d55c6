#include "DlgPreview.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QWindow>

#include "ApptPreviewEditor.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ComboBox.h"
#include "DlgApptHooks.h"
#include "Glidex.h"
#include "IPreviewEditor.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "Nudgel.h"
#include "ReadAgain.h"
#include "SharedObjects.h"
#include "ViewPro.h"

namespace {
constexpr int kTw = DlgPreview::kTwipsPerPixel;
// Design sizes, in twips.
constexpr int kMinWidth = 8175;
constexpr int kMinHeight = 5160;
constexpr int kPreviewWidthLess = 360;
constexpr int kPreviewHeightLess = 1665;
// The zoom bar's range in percent; 100 is its design position.
constexpr int kZoomMin = 25;
constexpr int kZoomMax = 200;
constexpr int kZoomDefault = 100;

QRect twips(int left, int top, int width, int height) {
    return QRect(left / kTw, top / kTw, width / kTw, height / kTw);
}
}  // namespace

DlgPreview::DlgPreview(IPreviewEditor& editor, QWidget* parent)
    : QDialog(parent), m_editor(editor) {
    setObjectName("DlgPreview");
    setWindowTitle("Print Preview");
    setModal(true);
    MenuBar = new QMenuBar(this);
    buildMenus();
    m_menuTop = MenuBar->sizeHint().height();
    buildControls();
    resize(kMinWidth / kTw, kMinHeight / kTw);
    ReportRead = new ReadAgain(this, [this] {
        // The report asked for as stored now: after the one being drawn, which reads
        // nothing. The day report reads nothing either.
        if (m_drawing) return false;
        return m_asked.report == DayReport || showReport(m_asked.report, m_asked.entry);
    });
}

DlgPreview::~DlgPreview() = default;

void DlgPreview::buildControls() {
    auto place = [this](QWidget* w, const char* name, QRect r) {
        w->setObjectName(name);
        w->setGeometry(r.translated(0, m_menuTop));
    };

    Toolbar1 = new plat::KeyedToolbar(this);
    place(Toolbar1, "Toolbar1", twips(0, 0, 8055, 420));
    SpinDate = new plat::Nudgel(Qt::Horizontal);
    SpinDate->setObjectName("SpinDate");
    SpinDate->setZeroArrow(plat::Nudgel::Arrow::Back);
    SpinDate->setToolTip("Date Forward/Back");
    SpinDate->setFixedSize(375 / kTw, 315 / kTw);
    Glidex1 = new plat::Glidex;
    Glidex1->setObjectName("Glidex1");
    Glidex1->setToolTip("Zoom");
    Glidex1->setRange(kZoomMin, kZoomMax);
    Glidex1->setValue(kZoomDefault);
    Glidex1->setFixedSize(1335 / kTw, 315 / kTw);
    // The spin and the zoom bar stand on the toolbar row, between its buttons.
    Toolbar1->addButton("Exit", "Exit", "Exit");
    Toolbar1->addButton("Calendar", "Calendar", "Select Start Date");
    Toolbar1->addWidget(SpinDate);
    Toolbar1->addButton("ArrowLeft", "ArrowLeft", "Previous Resource", QIcon(), "<");
    Toolbar1->addButton("ArrowRight", "ArrowRight", "Next Resource", QIcon(), ">");
    Toolbar1->addButton("Print", "Print", "Print");
    Toolbar1->addButton("Help", "Help", "Online Help");
    Toolbar1->addWidget(Glidex1);

    // At their design places, unless a caption needs more room than the design gave it.
    const char* captions[] = {"Day", "Customer", "Task"};
    int left = 120 / kTw;
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(captions[i], this);
        const int width = std::max(1095 / kTw, Option1[i]->sizeHint().width());
        left = std::max(left, (120 + 1200 * i) / kTw);
        place(Option1[i], "Option1", QRect(left, 480 / kTw, width, 255 / kTw));
        left += width + 8;
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Option1_Click(i);
        });
    }
    const QRect select = twips(3720, 480, 2535, 315);
    CbSelect = new plat::ComboBox(this);
    place(CbSelect, "CbSelect", select.adjusted(std::max(0, left - select.left()), 0, 0, 0));
    LblPages = new QLabel(this);
    place(LblPages, "LblPages", twips(6360, 480, 1215, 255));
    LblPages->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PageSpin = new plat::Nudgel(Qt::Vertical, this);
    place(PageSpin, "PageSpin", twips(7680, 480, 255, 315));
    PageSpin->setZeroArrow(plat::Nudgel::Arrow::Back);
    PageSpin->setToolTip("Page Number");
    ViewPro1 = new plat::ViewPro(this);
    place(ViewPro1, "ViewPro1", twips(120, 840, 7815, 3495));

    connect(Toolbar1, &plat::KeyedToolbar::ButtonClick, this, &DlgPreview::Toolbar1_ButtonClick);
    connect(SpinDate, &plat::Nudgel::Click, this, &DlgPreview::SpinDate_Click);
    connect(PageSpin, &plat::Nudgel::Click, this, &DlgPreview::PageSpin_Click);
    connect(Glidex1, &plat::Glidex::Change, this, &DlgPreview::Glidex1_Change);
    connect(CbSelect, &plat::ComboBox::Click, this, &DlgPreview::CbSelect_Click);
    connect(ViewPro1, &plat::ViewPro::Error, this, &DlgPreview::ViewPro1_Error);
}

void DlgPreview::buildMenus() {
    mnuFile = MenuBar->addMenu("&File");
    mnuFilePrint = mnuFile->addAction("&Print");
    mnuFile->addSeparator();
    mnuFileExit = mnuFile->addAction("E&xit");
    mnuDate = MenuBar->addMenu("&Date");
    mnuDateNext = mnuDate->addAction("&Next");
    mnuDatePrevious = mnuDate->addAction("&Previous");
    mnuResource = MenuBar->addMenu("&Resource");
    mnuResourceNext = mnuResource->addAction("&Next Resource");
    mnuResourcePrevious = mnuResource->addAction("&Previous Resource");
    mnuHelp = MenuBar->addAction("&Help");

    // An entry that stands for a button runs the toolbar step with that button.
    auto button = [this](QAction* entry, const char* key) {
        connect(entry, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    };
    button(mnuFilePrint, "Print");
    button(mnuFileExit, "Exit");
    button(mnuResourceNext, "ArrowRight");
    button(mnuResourcePrevious, "ArrowLeft");
    button(mnuHelp, "Help");
    connect(mnuDateNext, &QAction::triggered, this, [this] { SpinDate_Click(1); });
    connect(mnuDatePrevious, &QAction::triggered, this, [this] { SpinDate_Click(0); });
}

void DlgPreview::ShowModal(IPreviewEditor& editor) {
    DlgPreview preview(editor, editor.EditorWindow());
    preview.Form_Load();
    plat::ModalHook::Exec(preview);
}

void DlgPreview::Install() {
    DlgApptHooks::Get().showPreview = [] {
        ApptPreviewEditor editor(DlgAppt::Instance());
        ShowModal(editor);
    };
}

void DlgPreview::Uninstall() { DlgApptHooks::Get().showPreview = nullptr; }

void DlgPreview::setRepType(int16_t report) { m_repType = report; }

void DlgPreview::Form_Load() {
    ClsIni& ini = SharedObjects::Ini();
    m_militaryTime = ini.GetNumber("Options", "UseMilitaryTime", 0) != 0;
    m_activated = false;
    SharedObjects::Forms().CentreForm(*this, m_editor.EditorWindow());
    Viewer = std::make_unique<ClsViewPro>();
    Viewer->Attach(ViewPro1);
    Glidex1->setPosition(int(ini.GetNumber("Preview", "Zoom", kZoomDefault)));
    Viewer->setPageSize(int16_t(ini.GetNumber("Options", "PageSize", 1)));
    LblPages->clear();
    SelectReport(TaskReport);
    SelectReport(DayReport);
}

void DlgPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The user asked for the preview: a failure its first drawing meets is told.
    if (!m_activated) ModMain::ActivateLater(*this, [this] { Form_Activate(); });
}

void DlgPreview::Form_Activate() {
    if (m_activated) return;
    m_activated = true;
    if (QWidget* editor = m_editor.EditorWindow()) setGeometry(editor->geometry());
    DrawDay();
}

void DlgPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void DlgPreview::Form_Resize() {
    if (m_inResize) return;
    m_inResize = true;
    const Qt::WindowStates state = windowState();
    if (!(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const QSize least(kMinWidth / kTw, kMinHeight / kTw);
        if (width() < least.width() || height() < least.height())
            resize(std::max(width(), least.width()), std::max(height(), least.height()));
    }
    MenuBar->setGeometry(0, 0, width(), m_menuTop);
    ViewPro1->resize(width() - kPreviewWidthLess / kTw, height() - kPreviewHeightLess / kTw);
    PageSpin->move(ViewPro1->x() + ViewPro1->width() - PageSpin->width(), PageSpin->y());
    LblPages->move(PageSpin->x() - LblPages->width() - 40 / kTw,
                   PageSpin->y() + (PageSpin->height() - LblPages->height()) / 2);
    m_inResize = false;
}

void DlgPreview::closeEvent(QCloseEvent* event) {
    // A report being drawn finishes first: its run still uses the window.
    if (m_drawing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void DlgPreview::reject() {
    if (m_drawing) return;
    QDialog::reject();
}

QString DlgPreview::FooterNotice() { return "Copyright (c) Rostima. All rights reserved."; }
