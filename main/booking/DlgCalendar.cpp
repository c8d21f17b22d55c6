#include "DlgCalendar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "CalendarState.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsLogging.h"
#include "ContextIDs.h"
#include "DlgMain.h"
#include "Kalvo.h"
#include "MainWindowLink.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "PlexaroCalendar.h"
#include "ReadAgain.h"
#include "SharedObjects.h"

namespace {
constexpr int kBoxStep = 240 / DlgMain::kTwipsPerPixel;  // one resource box below the other
constexpr int kBoxHeight = kBoxStep;
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }
}  // namespace

DlgCalendar::DlgCalendar(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgCalendar");
    setWindowTitle("Calendar");
    setModal(true);

    Cal = new plat::Kalvo(this);
    Cal->setObjectName("Cal");
    Cal->setGeometry(8, 8, 280, 220);
    Frame1 = new QGroupBox("Include Resources In Date Check", this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(296, 4, 216, 224);
    auto* scroll = new QScrollArea(Frame1);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(false);
    m_boxes = new QWidget;
    m_boxes->resize(190, kBoxHeight);
    scroll->setWidget(m_boxes);
    auto* inner = new QVBoxLayout(Frame1);
    inner->setContentsMargins(6, 4, 2, 4);
    inner->addWidget(scroll);
    ChkResource.push_back(addResourceBox());
    ChkResource[0]->setText("ChkResource");

    const char* captions[] = {"&Select", "&Today", "&Cancel", "&Help"};
    for (int i = 0; i < 4; ++i) {
        BtnCalendar[i] = new QPushButton(captions[i], this);
        BtnCalendar[i]->setObjectName(QString("BtnCalendar%1").arg(i));
        BtnCalendar[i]->setGeometry(8 + i * 128, 238, 120, 28);
        BtnCalendar[i]->setAutoDefault(false);
        connect(BtnCalendar[i], &QPushButton::clicked, this, [this, i] { BtnCalendar_Click(i); });
    }
    BtnCalendar[0]->setDefault(true);
    connect(Cal, &plat::Kalvo::DateChange, this, [this] { Cal_DateChange(); });
    connect(Cal, &plat::Kalvo::PageChange, this, [this] { Cal_PageChange(); });
    connect(Cal, &plat::Kalvo::DateDblClick, this, [this](int16_t n) { Cal_DateDblClick(n); });
    setFixedSize(520, 274);
    Shown = new ReadAgain(this, [this] { return Loading ? loadResources() : showMarks(); });
}

int32_t DlgCalendar::CalDate() { return CalendarState::CalDate(); }
void DlgCalendar::setCalDate(int32_t day) { CalendarState::setCalDate(day); }
void DlgCalendar::setResourceId(int32_t resourceId) { CalendarState::setResourceId(resourceId); }

void DlgCalendar::ShowModal(QWidget* owner) {
    DlgCalendar form(owner);
    form.Form_Load();
    plat::ModalHook::Exec(form);
}

QCheckBox* DlgCalendar::addResourceBox() {
    const int index = static_cast<int>(ChkResource.size());
    auto* box = new QCheckBox(m_boxes);
    box->setObjectName(QString("ChkResource%1").arg(index));
    box->setGeometry(0, index * kBoxStep, 190, kBoxHeight);
    m_boxes->resize(190, (index + 1) * kBoxStep);
    // A change of value, by the user or by code, is the box's click.
    connect(box, &QCheckBox::toggled, this, [this, index] { ChkResource_Click(index); });
    return box;
}

void DlgCalendar::Form_Load() {
    Loading = true;
    Activated = PageChanged = false;
    SharedObjects::Forms().CentreForm(*this, MainWindowLink::Find());
    Cal->setValue(CalDate());  // its events mark nothing while Loading is set
    for (QCheckBox* box : ChkResource) {
        box->setEnabled(false);
        box->hide();
    }
    Shown->Note(loadResources());
}

bool DlgCalendar::loadResources() {
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select ResourceId, ResourceName from tblResources where GroupId = %1")
            .arg(MainWindowLink::GroupId()));
    if (!rs) {
        log("Error in DlgCalendar.Form_Load");
        return false;  // Loading stays set: no day is marked for a group that could not be read
    }
    for (int i = 0; !rs->Eof(); rs->MoveNext(), ++i) {
        if (i >= static_cast<int>(ChkResource.size())) ChkResource.push_back(addResourceBox());
        QCheckBox* box = ChkResource[static_cast<size_t>(i)];
        box->setEnabled(true);
        box->show();
        box->setText(rs->Field("ResourceName").toString());
        box->setProperty("Tag", QString::number(rs->Field("ResourceId").toInt()));
    }
    Loading = false;
    // Boxes read after the first activation take the preset tick late.
    if (Activated) tickPreset();
    return showMarks();
}

void DlgCalendar::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!Activated) QTimer::singleShot(0, this, [this] { Form_Activate(); });
}

void DlgCalendar::Form_Activate() {
    if (Activated) return;
    Activated = true;
    tickPreset();
}

void DlgCalendar::tickPreset() {
    const QString wanted = QString::number(CalendarState::ResourceId());
    for (QCheckBox* box : ChkResource)
        if (box->isVisibleTo(this)) box->setChecked(box->property("Tag").toString() == wanted);
}

void DlgCalendar::ShowAppointments() {
    // While the load step adds the boxes nothing is marked yet; boxes it could not read
    // are read first.
    if (m_reverting || (Loading && !Shown->Unread())) return;
    Shown->Note(Loading ? loadResources() : showMarks());
}

bool DlgCalendar::showMarks() {
    PageChanged = false;
    // A page holds at most 42 days: the marking runs without yielding, so no page turn
    // can come between reading the page and marking it.
    const int32_t first = Cal->visibleDay(1);
    const int32_t last = Cal->visibleDay(2);
    QString ids = "0";
    QSet<int> ticks;
    for (int i = 0; i < static_cast<int>(ChkResource.size()); ++i) {
        const QCheckBox* box = ChkResource[static_cast<size_t>(i)];
        if (!box->isVisibleTo(this) || !box->isChecked()) continue;
        ids += ", " + QString::number(box->property("Tag").toString().toInt());
        ticks.insert(i);
    }
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select distinct BookingDate from tblBookings where BookingDate >= %1 and "
                "BookingDate <= %2 and ResourceId in (select ResourceId from tblResources "
                "where ResourceId in (%3))")
            .arg(first)
            .arg(last)
            .arg(ids));
    if (!rs) {
        log("Error in DlgCalendar.ShowAppointments");
        showShown();
        return false;
    }
    m_shownMarks.clear();
    for (; !rs->Eof(); rs->MoveNext()) m_shownMarks << rs->Field("BookingDate").toInt();
    m_shownPage = Cal->pageMonth();
    m_shownValue = Cal->value();
    m_shownTicks = ticks;
    for (int p = 1; p <= last - first + 1; ++p) Cal->setDayMark(p, 0);
    Cal->setMarkColor(0);
    Cal->setMarkStyle(plat::Kalvo::Bold | plat::Kalvo::Underline);
    for (const int32_t day : std::as_const(m_shownMarks)) Cal->setDayMark(day - first + 1, 1);
    return true;
}

void DlgCalendar::showShown() {
    if (m_shownPage == 0) return;  // nothing was marked yet
    m_reverting = true;
    Cal->setValue(m_shownValue);
    const QDate shown = plat::PlexaroCalendar::dateOf(m_shownPage);
    const QDate now = plat::PlexaroCalendar::dateOf(Cal->pageMonth());
    Cal->turnPage((shown.year() - now.year()) * 12 + shown.month() - now.month());
    for (const int32_t day : std::as_const(m_shownMarks))
        Cal->setDayMark(day - Cal->visibleDay(1) + 1, 1);
    for (int i = 0; i < static_cast<int>(ChkResource.size()); ++i) {
        QCheckBox* box = ChkResource[static_cast<size_t>(i)];
        const QSignalBlocker quiet(box);
        if (box->isVisibleTo(this)) box->setChecked(m_shownTicks.contains(i));
    }
    PageChanged = false;
    m_reverting = false;
}

void DlgCalendar::Cal_PageChange() {
    // The marks belong to the page that was shown: the new page is marked now, whether
    // or not the selected date moves with it.
    PageChanged = true;
    ShowAppointments();
}

void DlgCalendar::Cal_DateChange() {
    if (PageChanged)
        ShowAppointments();
    else if (!Loading && !m_reverting)
        m_shownValue = Cal->value();  // a day of the page shown: its marks stand
}

void DlgCalendar::ChkResource_Click(int) { ShowAppointments(); }

void DlgCalendar::Cal_DateDblClick(int16_t n) {
    if (n < 1) return;
    setCalDate(Cal->value());
    log("DateVal: " + QString::number(Cal->value()));
    accept();
}

void DlgCalendar::BtnCalendar_Click(int index) {
    switch (index) {
        case 0:
            Cal_DateDblClick(Cal->day());
            break;
        case 1:
            Cal->setValue(SharedObjects::Date().DateToLong(QDate::currentDate()));
            break;
        case 2:
            reject();
            break;
        case 3:
            ContextIDs::ShowHelp(ContextIDs::IDH_CALENDAR);
            break;
        default:
            break;
    }
}
