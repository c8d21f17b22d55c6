#include "DlgCalendar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "AskingButton.h"
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
    // The date the user selected is the one asked for; the marks follow their page.
    connect(Cal, &plat::Kalvo::DateChange, this, [this] {
        m_asked = {Cal->pageMonth(), Cal->value(), m_asked.ticked};
    });
    connect(Cal, &plat::Kalvo::PageChange, this, [this] { markShown(); });
    connect(Cal, &plat::Kalvo::DateDblClick, this, [this](int16_t n) { Cal_DateDblClick(n); });
    setFixedSize(520, 274);
    MarksRead = new ReadAgain(this, [this] { return readAndShow(); });
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
    auto* box = new AskingButton<QCheckBox>(m_boxes);
    box->setObjectName(QString("ChkResource%1").arg(index));
    box->setGeometry(0, index * kBoxStep, 190, kBoxHeight);
    m_boxes->resize(190, (index + 1) * kBoxStep);
    connect(box, &QCheckBox::clicked, this, [this, index] { ChkResource_Click(index); });
    return box;
}

void DlgCalendar::Form_Load() {
    Activated = false;
    SharedObjects::Forms().CentreForm(*this, MainWindowLink::Find());
    for (QCheckBox* box : ChkResource) {
        box->setEnabled(false);
        box->hide();
    }
    // The schedule date's page opens unmarked; any other is shown once its marks were read.
    m_asked = {plat::Kalvo::pageOf(CalDate()), CalDate(), {}};
    Cal->setValue(CalDate());
    Cal->setPageAsk([this](int32_t page, int32_t value) { return askPage(page, value); });
    ShowAppointments();
}

void DlgCalendar::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!Activated) ModMain::ActivateLater(*this, [this] { Form_Activate(); });
}

void DlgCalendar::Form_Activate() {
    if (Activated) return;
    Activated = true;
    m_asked.ticked = {CalendarState::ResourceId()};  // 0 (none) is no resource's id
    ShowAppointments();
}

void DlgCalendar::ShowAppointments() { MarksRead->Note(readAndShow()); }

bool DlgCalendar::readAndShow() {
    std::optional<Read> found = read();
    if (!found) return false;
    showBoxes(std::move(*found));
    Cal->setValue(m_shown->asked.value);
    Cal->setPage(m_shown->asked.page);
    markShown();
    return true;
}

bool DlgCalendar::askPage(int32_t page, int32_t value) {
    if (m_shown && page == m_shown->asked.page) return true;  // read: readAndShow turns it
    m_asked.page = page;
    m_asked.value = value;
    std::optional<Read> found = read();
    // Its marks are set once the page is turned (PageChange); unread, it stays unturned.
    if (found) showBoxes(std::move(*found));
    return MarksRead->Note(found.has_value());
}

std::optional<DlgCalendar::Read> DlgCalendar::read() const {
    Read found{m_asked, m_shown ? m_shown->resources : Read{}.resources, {}};
    if (!m_shown) {
        auto rs = SharedObjects::DAO().SqlQuery(
            QString("select ResourceId, ResourceName from tblResources where GroupId = %1")
                .arg(MainWindowLink::GroupId()));
        if (!rs) {
            log("Error in DlgCalendar.Form_Load");
            return std::nullopt;
        }
        for (; !rs->Eof(); rs->MoveNext())
            found.resources << std::pair(rs->Field("ResourceId").toInt(),
                                         rs->Field("ResourceName").toString());
    }
    // With no box ticked the list holds only 0, and no day is marked.
    QString ids = "0";
    for (const auto& [id, name] : std::as_const(found.resources))
        if (m_asked.ticked.contains(id)) ids += ", " + QString::number(id);
    const int32_t first = plat::Kalvo::firstShownOf(m_asked.page);
    auto rs = SharedObjects::DAO().SqlQuery(
        QString("select distinct BookingDate from tblBookings where BookingDate >= %1 and "
                "BookingDate <= %2 and ResourceId in (select ResourceId from tblResources "
                "where ResourceId in (%3))")
            .arg(first)
            .arg(first + plat::Kalvo::kDaysShown - 1)
            .arg(ids));
    if (!rs) {
        log("Error in DlgCalendar.ShowAppointments");
        return std::nullopt;
    }
    for (; !rs->Eof(); rs->MoveNext()) found.days << rs->Field("BookingDate").toInt();
    return found;
}

void DlgCalendar::showBoxes(Read found) {
    const bool boxesNew = !m_shown;
    m_shown = std::move(found);
    for (int i = 0; i < static_cast<int>(m_shown->resources.size()); ++i) {
        if (i >= static_cast<int>(ChkResource.size())) ChkResource.push_back(addResourceBox());
        QCheckBox* box = ChkResource[static_cast<size_t>(i)];
        const auto& [id, name] = m_shown->resources[i];
        if (boxesNew) {
            box->setEnabled(true);
            box->show();
            box->setText(name);
            box->setProperty("Tag", QString::number(id));
        }
        box->setChecked(m_shown->asked.ticked.contains(id));
    }
}

void DlgCalendar::markShown() {
    if (!m_shown || Cal->pageMonth() != m_shown->asked.page) return;
    const int32_t first = Cal->visibleDay(1);
    for (int p = 1; p <= plat::Kalvo::kDaysShown; ++p) Cal->setDayMark(p, 0);
    Cal->setMarkColor(0);
    Cal->setMarkStyle(plat::Kalvo::Bold | plat::Kalvo::Underline);
    for (const int32_t day : std::as_const(m_shown->days)) Cal->setDayMark(day - first + 1, 1);
}

void DlgCalendar::ChkResource_Click(int index) {
    const QCheckBox* box = ChkResource[static_cast<size_t>(index)];
    const int32_t id = box->property("Tag").toInt();
    if (!box->isChecked())
        m_asked.ticked.insert(id);
    else
        m_asked.ticked.remove(id);
    ShowAppointments();
}

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
