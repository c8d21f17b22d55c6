#include "DlgSearch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AskingButton.h"
#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ClsForms.h"
#include "ClsIni.h"
#include "ClsLogging.h"
#include "ClsResource.h"
#include "ComboBox.h"
#include "ContextIDs.h"
#include "DlgMain.h"
#include "EventYield.h"
#include "MainWindowLink.h"
#include "ModMain.h"
#include "ModalHook.h"
#include "ReadAgain.h"
#include "SearchPrintout.h"
#include "SharedObjects.h"
#include "Tabrix.h"
#include "ViewPro.h"

namespace {
ClsIni& ini() { return SharedObjects::Ini(); }
void log(const QString& line) { SharedObjects::Log().LogMsg(line); }

std::function<QDateTime()>& searchClock() {
    static std::function<QDateTime()> now;
    return now;
}
QDateTime now() { return searchClock() ? searchClock()() : QDateTime::currentDateTime(); }

// The column each kind compares, and the statement that lists its choices (name, id) in
// a group (%1); any other kind lists the resources.
const char* const kColumn[] = {"CustomerId", "TaskId", "ResourceId"};
const char* const kChoices[] = {
    "select CustomerName, CustomerId from tblCustomers where CustomerId in (select CustomerId "
    "from tblCustomerGroups where GroupId = %1) order by CustomerName",
    "select TaskName, TaskId from tblTasks where GroupId = %1 order by TaskName",
    "select ResourceName, ResourceId from tblResources where GroupId = %1 order by ResourceName"};
QString choicesOf(int kind, int32_t groupId) {
    const bool listed = kind == DlgSearch::ByContact || kind == DlgSearch::ByType;
    return QString(kChoices[listed ? kind : DlgSearch::ByResource]).arg(groupId);
}

}  // namespace

DlgSearch::DlgSearch(QWidget* parent) : QDialog(parent) {
    setObjectName("DlgSearch");
    setWindowTitle("Search");
    setModal(true);
    auto* all = new QGridLayout(this);

    auto* byFrame = new QGroupBox("Search By", this);
    auto* by = new QVBoxLayout(byFrame);
    const char* kinds[] = {"Contact name", "Appointment type", "All appointments"};
    for (int i = 0; i < 3; ++i) {
        BtnSearchBy[i] = new AskingButton<QRadioButton>(kinds[i], byFrame);
        BtnSearchBy[i]->setObjectName(QString("BtnSearchBy%1").arg(i));
        by->addWidget(BtnSearchBy[i]);
        connect(BtnSearchBy[i], &QRadioButton::clicked, this, [this, i] { BtnSearchBy_Click(i); });
    }
    all->addWidget(byFrame, 0, 0, 2, 1);

    auto* forFrame = new QGroupBox("Search For", this);
    CbSearch = new plat::ComboBox(forFrame);
    CbSearch->setObjectName("CbSearch");
    // A long name would widen the window past the screen: the list shows it whole when open.
    CbSearch->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CbSearch->setMinimumContentsLength(20);
    (new QVBoxLayout(forFrame))->addWidget(CbSearch);
    all->addWidget(forFrame, 0, 1);
    connect(CbSearch, &plat::ComboBox::Click, this, [this] { CbSearch_Click(); });

    auto* selectionFrame = new QGroupBox("Selection", this);
    ChkSelection = new AskingButton<QCheckBox>("Future date/time only", selectionFrame);
    ChkSelection->setObjectName("ChkSelection");
    (new QVBoxLayout(selectionFrame))->addWidget(ChkSelection);
    all->addWidget(selectionFrame, 1, 1);
    connect(ChkSelection, &QCheckBox::clicked, this, [this] { ChkSelection_Click(); });

    auto* resultsFrame = new QGroupBox("Results", this);
    LbResults = new plat::Tabrix(resultsFrame);
    LbResults->setObjectName("LbResults");
    (new QVBoxLayout(resultsFrame))->addWidget(LbResults);
    all->addWidget(resultsFrame, 2, 0, 1, 2);
    all->setRowStretch(2, 1);
    connect(LbResults, &plat::Tabrix::DblClick, this, [this] { LbResults_DblClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const char* captions[] = {"&Goto Appointment", "&Print", "&Help", "&Cancel"};
    for (int i = 0; i < 4; ++i) {
        BtnSearch[i] = new QPushButton(captions[i], this);
        BtnSearch[i]->setObjectName(QString("BtnSearch%1").arg(i));
        buttons->addWidget(BtnSearch[i]);
        connect(BtnSearch[i], &QPushButton::clicked, this, [this, i] { BtnSearch_Click(i); });
    }
    all->addLayout(buttons, 3, 0, 1, 2);
    // The printout's own print-preview control: a print target, never shown.
    ViewPro1 = new plat::ViewPro(this);
    ViewPro1->setObjectName("ViewPro1");
    ViewPro1->hide();
    resize(640, 480);
    ListsRead = new ReadAgain(this, [this] { return listAsked(Reading::Always); });
}

void DlgSearch::ShowModal(QWidget* owner) {
    DlgSearch form(owner);
    form.Form_Load();
    plat::ModalHook::Exec(form);
}

void DlgSearch::setClockForTest(std::function<QDateTime()> c) { searchClock() = std::move(c); }

void DlgSearch::Form_Load() {
    SharedObjects::Forms().CentreForm(*this, MainWindowLink::Find());
    int64_t kind = ini().GetNumber("Search", "SearchBy", 0);
    if (kind < ByContact || kind > ByResource) kind = ByContact;
    m_asked = {static_cast<int>(kind), -1, ini().GetNumber("Search", "Selection", 0) != 0};
    ListsRead->Note(listAsked(Reading::Always));
}

void DlgSearch::BtnSearchBy_Click(int index) {
    m_asked.kind = index;
    m_asked.entry = -1;
    ListsRead->Note(listAsked(Reading::IfChanged));
}

void DlgSearch::CbSearch_Click() {
    if (!m_shown) return;  // nothing listed yet
    // The list holds the entries of the kind shown. Like the buttons it asks: it stays on
    // the entry listed until the one picked is read.
    m_asked.kind = m_shown->kind;
    m_asked.entry = SharedObjects::Forms().GetComboData(*CbSearch);
    SharedObjects::Forms().ShowComboData(*CbSearch, m_shown->entry);
    ListsRead->Note(listAsked(Reading::IfChanged));
}

void DlgSearch::ChkSelection_Click() {
    m_asked.futureOnly = !ChkSelection->isChecked();
    ListsRead->Note(listAsked(Reading::IfChanged));
}

void DlgSearch::DoSearch() { ListsRead->Note(listAsked(Reading::Always)); }

bool DlgSearch::listAsked(Reading reading) {
    // The lists yield while they fill: a request meanwhile is read once they are done.
    if (m_working) return true;
    m_working = true;
    bool read = true;
    bool always = reading == Reading::Always;
    for (; read && (always || m_shown != m_asked); always = false) read = showQuery(m_asked);
    m_working = false;
    if (m_deferredResult >= 0) QDialog::done(m_deferredResult);
    return read;
}

bool DlgSearch::showQuery(Query query) {
    ClsForms& forms = SharedObjects::Forms();
    const auto choices =
        forms.ReadEntries(choicesOf(query.kind, MainWindowLink::GroupId()), query.entry);
    auto results = choices ? SharedObjects::DAO().SqlQuery(SearchStatement(
                                 query.kind, choices->chosen, query.futureOnly, now()))
                           : nullptr;
    if (!results) {
        log("Error in DlgSearch.ShowResults");
        return false;
    }
    forms.ShowEntries(*CbSearch, *choices);
    BtnSearchBy[static_cast<size_t>(query.kind)]->setChecked(true);
    ChkSelection->setChecked(query.futureOnly);
    if (!m_shown || m_shown->kind != query.kind) ini().WriteValue("Search", "SearchBy", query.kind);
    if (!m_shown || m_shown->futureOnly != query.futureOnly)
        ini().WriteValue("Search", "Selection", query.futureOnly ? 1 : 0);
    // The first entry asked for is the one listed first.
    const bool last = query == m_asked;
    query.entry = choices->chosen;
    m_shown = query;
    if (last) m_asked = query;
    fillResults(*results);
    return true;
}

QString DlgSearch::SearchStatement(int kind, int32_t id, bool futureOnly, const QDateTime& at) {
    QString sql =
        "select (select TaskName from tblTasks where TaskId = tblBookings.TaskId), "
        "(select CustomerName from tblCustomers where CustomerId = tblBookings.CustomerId), "
        "(select ResourceName from tblResources where ResourceId = tblBookings.ResourceId), "
        "* from tblBookings where " +
        QString("%1 = %2").arg(kColumn[kind < ByContact || kind > ByResource ? 0 : kind]).arg(id);
    if (futureOnly) {
        // From the present minute on: a booking that has begun is left out.
        const int32_t today = SharedObjects::Date().DateToLong(at.date());
        const int minute = at.time().hour() * 60 + at.time().minute();
        sql += QString(" and ((BookingDate > %1) or ( BookingDate = %1 and BookingStart >= %2))")
                   .arg(today)
                   .arg(minute);
    }
    return sql + " order by BookingDate, BookingStart";
}

void DlgSearch::fillResults(ClsRecordset& rs) {
    LbResults->clearColumns();
    LbResults->clearRows();
    const int timeWidth = ini().GetNumber("Options", "UseMilitaryTime", 0) == 0 ? 60 : 40;
    const std::pair<const char*, int> columns[] = {
        {"Date", 60},  {"Day", 40},      {"From", timeWidth}, {"To", timeWidth},
        {"Type", 100}, {"Contact", 100}, {"Resource", 100}};
    // The widths are in the list's units, half as wide again as our pixels.
    for (const auto& [heading, width] : columns) LbResults->addColumn(heading, width * 3 / 2);
    // Texts are made once a date and once a time: many rows share them, and the time's
    // form comes from the settings file.
    ClsDate& date = SharedObjects::Date();
    const QLocale english(QLocale::English);
    QHash<int32_t, std::pair<QString, QString>> dates;
    QHash<int, QString> times;
    auto timeText = [&](int minutes) -> const QString& {
        auto it = times.find(minutes);
        if (it == times.end())
            it = times.insert(minutes, date.ShowTime(static_cast<int16_t>(minutes), true));
        return *it;
    };
    for (int n = 0; !rs.Eof(); rs.MoveNext(), ++n) {
        if (n % kRowsPerYield == 0) {
            EventYield::Run();
            if (m_shown != m_asked) return;  // a newer request replaces this
        }
        const int32_t day = rs.Field("BookingDate").toInt();
        auto d = dates.find(day);
        if (d == dates.end()) {
            const QDate shown = date.LongToDate(day);
            d = dates.insert(
                day, {english.toString(shown, "dd MMM yy"), english.toString(shown, "ddd")});
        }
        const int r =
            LbResults->addRow({d->first, d->second, timeText(rs.Field("BookingStart").toInt()),
                               timeText(rs.Field("BookingEnd").toInt()), rs.Field(0).toString(),
                               rs.Field(1).toString(), rs.Field(2).toString()});
        LbResults->setRowData(r, rs.Field("BookingId").toInt());
    }
}

void DlgSearch::BtnSearch_Click(int index) {
    switch (index) {
        case 0: {
            const int row = LbResults->selectedRow();
            if (row < 0) {
                ModMain::Warning("Please select appointment first!");
                return;
            }
            ClsBooking booking;
            const Loaded loaded = booking.Load(LbResults->rowData(row));
            ClsResource resource;
            const Loaded resourceLoaded =
                loaded == Loaded::Row ? resource.Load(booking.ResourceId()) : Loaded::NoRow;
            if (loaded.Failed() || resourceLoaded.Failed()) {
                // Not read: the chart stays where it is, and the list is read again.
                ListsRead->Note(false, "Unable to go to the appointment!", "changed");
                return;
            }
            if (loaded == Loaded::NoRow) return;  // deleted meanwhile
            if (DlgMain* main = MainWindowLink::Find()) {
                // A contact's bookings in other groups are listed too: the chart shows the
                // booking's own group first (selecting it in the list loads it).
                if (resourceLoaded == Loaded::Row &&
                    resource.GroupId() != MainWindowLink::GroupId())
                    main->ShowGroups(resource.GroupId());
                main->setCurrentDate(booking.BookingDate());
                main->setCurrentTime(booking.BookingStart());
                main->setCurrentResource(booking.ResourceId());
            }
            accept();
            break;
        }
        case 1:
            EnableMe(false);
            SearchPrintout::DoPrint(ViewPro1, *LbResults);
            EnableMe(true);
            break;
        case 2:
            ContextIDs::ShowHelp(ContextIDs::IDH_SEARCH);
            break;
        case 3:
            reject();
            break;
        default:
            break;
    }
}

void DlgSearch::LbResults_DblClick() { BtnSearch_Click(0); }

void DlgSearch::EnableMe(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{ChkSelection, CbSearch, LbResults})
        w->setEnabled(enabled);
    for (QRadioButton* b : BtnSearchBy) b->setEnabled(enabled);
    for (QPushButton* b : BtnSearch) b->setEnabled(enabled);
}

void DlgSearch::done(int result) {
    if (m_working) {
        m_deferredResult = result;
        return;
    }
    QDialog::done(result);
}
