#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "ClsLogging.h"
#include "DlgCalendar.h"
#include "KeyedToolbar.h"
#include "ModMain.h"
#include "MsgBox.h"
#include "PreviewFixture.h"
#include "ReadAgain.h"

namespace {

// The bands of a page: texts drawn one after another at the same height, in order.
QList<QStringList> bandsOf(const plat::ViewProPage& page) {
    QList<QStringList> bands;
    int32_t y = INT32_MIN;
    for (const plat::ViewProText& t : page.texts) {
        if (t.y != y || bands.isEmpty()) bands.append(QStringList());
        bands.last() << t.text;
        y = t.y;
    }
    return bands;
}

QStringList slotNames(const std::vector<PdfPage>& pages) {
    QStringList names;
    for (const PdfPage& p : pages)
        for (const QString& t : p.texts)
            if (t.startsWith("Slot ")) names << t;
    return names;
}

using DayReport = PreviewFixture;

TEST_F(DayReport, PrintsEverySlotUnderTheFullFrameOnEveryPage) {
    editor.rowsPerDay = 80;
    editor.ShowBookings();
    open();
    const auto pages = printed();
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(preview->LblPages->text(), QString("Page 1 of %1").arg(pages.size()));
    for (size_t i = 0; i < pages.size(); ++i) {
        const QStringList& t = pages[i].texts;
        for (const QString& s :
             {QString("Rostima"), QString("Page %1").arg(i + 1), QString("Room A"),
              QString("Monday, 2 March 2026"), QString("Time"), QString("Booking"),
              QString("Reserved By"), QString("Ref01"), QString("Ref02"), QString("Ref03"),
              DlgPreview::FooterNotice(), DlgMain::WebAddress()})
            EXPECT_TRUE(t.contains(s)) << i << " " << s.toStdString();
    }
    QStringList expected;
    for (int r = 1; r <= 80; ++r) expected << QString("Slot %1").arg(r);
    EXPECT_EQ(slotNames(pages), expected);
    // A row's cells in their columns, as the editor's list holds them.
    const auto bands = bandsOf(*document().page(1));
    EXPECT_EQ(bands[0], QStringList({"Room A", "Monday, 2 March 2026"}));
    const QStringList headings{"Time", "Booking", "Reserved By", "Ref01", "Ref02", "Ref03"};
    EXPECT_EQ(bands[1], headings);
    EXPECT_EQ(bands[2], QStringList({"9:00", "Slot 1", "Room A", "46081", "", "r3"}));
}

TEST_F(DayReport, PrintsOnlyThePagesChosenInThePrintDialog) {
    editor.rowsPerDay = 80;
    editor.ShowBookings();
    open();
    ASSERT_GE(document().pageCount(), 3);
    const QString path = dir.filePath("range.pdf");
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        d.findChild<QRadioButton*>("printRange")->setChecked(true);
        d.findChild<QSpinBox*>("to")->setValue(2);
        d.findChild<QSpinBox*>("from")->setValue(2);
        d.accept();
        static_cast<QPrintDialog&>(d).printer()->setOutputFileName(path);
        return d.result();
    });
    preview->Toolbar1_ButtonClick("Print");
    const auto pages = ReadPdfPages(path);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].texts.contains("Page 2"));
}

TEST_F(DayReport, APageBreakAfterTheLastRowBeginsNoEmptyPage) {
    editor.rowsPerDay = 200;
    editor.ShowBookings();
    open();
    const int perPage = int(bandsOf(*document().page(1)).size()) - 2;  // less title, headings
    ASSERT_GT(perPage, 10);
    for (int rows : {perPage, 2 * perPage}) {
        editor.rowsPerDay = rows;
        editor.ShowBookings();
        preview->DrawDay();
        ASSERT_EQ(document().pageCount(), rows / perPage) << rows;
        for (int p = 1; p <= document().pageCount(); ++p)
            EXPECT_FALSE(document().page(p)->isBlank()) << rows << " " << p;
        EXPECT_EQ(preview->LblPages->text(), QString("Page 1 of %1").arg(rows / perPage));
    }
}

TEST_F(DayReport, AnEmptySlotListPrintsItsNoAppointmentsPage) {
    editor.rowsPerDay = 0;
    editor.ShowBookings();
    open();
    const auto pages = printed();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].texts, QStringList({"No Appointments!"}));
    EXPECT_EQ(preview->LblPages->text(), "Page 1 of 1");
}

// A group with two resources, two types, two customers and bookings around 2 March 2026.
class BookingReports : public PreviewFixture {
protected:
    void SetUp() override {
        PreviewFixture::SetUp();
        sql("insert into tblGroups (GroupName, DayStart, DayEnd, Interval) "
            "values ('Clinic', 480, 1080, 15)");
        const int32_t group = lastId();
        showGroup(group);
        const auto add = [&](const QString& table, const QString& columns, const QString& v) {
            sql("insert into " + table + " (" + columns + ") values (" + v + ")");
            return lastId();
        };
        const QString g = QString::number(group);
        roomA = add("tblResources", "GroupId, ResourceName", g + ", 'Room A'");
        roomB = add("tblResources", "GroupId, ResourceName", g + ", 'Room B'");
        massage = add("tblTasks", "GroupId, TaskName", g + ", 'Massage'");
        sauna = add("tblTasks", "GroupId, TaskName", g + ", 'Sauna'");
        ann = add("tblCustomers", "CustomerName", "'Ann'");
        bob = add("tblCustomers", "CustomerName", "'Bob'");
        add("tblCustomerGroups", "CustomerId, GroupId", QString("%1, %2").arg(ann).arg(group));
        add("tblCustomerGroups", "CustomerId, GroupId", QString("%1, %2").arg(bob).arg(group));
        const auto book = [&](int32_t task, int32_t customer, int32_t room, int32_t day, int start,
                              int end, const QString& refs) {
            add("tblBookings",
                "TaskId, CustomerId, ResourceId, BookingDate, BookingStart, BookingEnd, "
                "Ref01, Ref02, Ref03",
                QString("%1, %2, %3, %4, %5, %6, ")
                        .arg(task)
                        .arg(customer)
                        .arg(room)
                        .arg(day)
                        .arg(start)
                        .arg(end) +
                    refs);
        };
        book(massage, ann, roomA, kDay - 1, 600, 660, "'', '', ''");  // the day before
        book(sauna, ann, roomB, kDay + 1, 540, 600, "'x', 'y', 'z'");
        book(massage, ann, roomA, kDay, 720, 780, "'', '', ''");
        book(massage, ann, roomA, kDay, 600, 630, "'', '', ''");
        book(massage, 0, roomB, kDay + 2, 480, 540, "'', '', ''");  // no customer
        book(sauna, bob, roomA, kDay, 900, 960, "'', '', ''");
    }
    // The row bands of page 1, after the title and the headings.
    QList<QStringList> rows() { return bandsOf(*document().page(1)).mid(2); }
    QStringList headings() { return bandsOf(*document().page(1)).value(1); }

    int32_t roomA = 0, roomB = 0, massage = 0, sauna = 0, ann = 0, bob = 0;
};

TEST_F(BookingReports, CustomerReportListsTheCustomersBookingsFromTheEditorsDateInOrder) {
    open().SelectReport(DlgPreview::CustomerReport);
    EXPECT_EQ(preview->CbSelect->currentText(), "Ann");
    EXPECT_TRUE(preview->CbSelect->isEnabled());
    EXPECT_EQ(headings(),
              QStringList({"Date", "Time", "Task", "Resource", "Ref01", "Ref02", "Ref03"}));
    // The names come through as names (not added up as numbers to 0).
    EXPECT_EQ(rows(),
              (QList<QStringList>{{"02 Mar 2026", "10:00 am", "Massage", "Room A", "", "", ""},
                                  {"02 Mar 2026", "12:00 pm", "Massage", "Room A", "", "", ""},
                                  {"03 Mar 2026", "09:00 am", "Sauna", "Room B", "x", "y", "z"}}));
    const auto pages = printed();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].texts.contains("Ann"));
    EXPECT_TRUE(pages[0].texts.contains("Massage"));
    EXPECT_EQ(folder.logText().count("select (select TaskName from tblTasks where TaskId"), 1);
}

TEST_F(BookingReports, TypeReportNamesTheCustomerAndLeavesAMissingOneEmpty) {
    open().SelectReport(DlgPreview::TaskReport);
    EXPECT_EQ(preview->CbSelect->currentText(), "Massage");
    EXPECT_EQ(headings().value(2), "Customer");
    EXPECT_EQ(rows(), (QList<QStringList>{{"02 Mar 2026", "10:00 am", "Ann", "Room A", "", "", ""},
                                          {"02 Mar 2026", "12:00 pm", "Ann", "Room A", "", "", ""},
                                          {"04 Mar 2026", "08:00 am", "", "Room B", "", "", ""}}));
    EXPECT_EQ(folder.logText().count("select (select CustomerName"), 0);
    // Another entry draws its own report.
    preview->CbSelect->SetListIndex(1);
    EXPECT_EQ(rows().size(), 2);
    EXPECT_EQ(bandsOf(*document().page(1)).value(0).value(0), "Sauna");
}

TEST_F(BookingReports, TwentyFourHourTimesShowTheStartAndTheEnd) {
    SharedObjects::Ini().WriteValue("Options", "UseMilitaryTime", 1);
    open().SelectReport(DlgPreview::CustomerReport);
    EXPECT_EQ(rows().value(0).value(1), "10:00 - 10:30");
    EXPECT_EQ(rows().value(1).value(1), "12:00 - 13:00");
}

TEST_F(BookingReports, NothingToListDrawsOnlyTheNoAppointmentsPage) {
    CalendarState::setCalDate(kDay + 10);
    open().SelectReport(DlgPreview::CustomerReport);
    const auto pages = printed();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].texts, QStringList({"No Appointments!"}));
    // No group shown: the lists are empty and so is the report.
    main->CbGroup->Clear();
    preview->SelectReport(DlgPreview::TaskReport);
    EXPECT_EQ(preview->CbSelect->count(), 0);
    EXPECT_EQ(bandsOf(*document().page(1)), QList<QStringList>({{"No Appointments!"}}));
}

// Another program holds the database while the user chooses reports, entries and the
// calendar: the document shown stays, printable, and so do the list and the report it is
// of; what the user chose stays chosen; each choice is told once; and the last choice is
// shown once the database lets go.
TEST_F(BookingReports, TheLastChoiceIsShownOnceALockedDatabaseLetsGo) {
    auto title = [&] { return bandsOf(*document().page(1)).value(0).value(0); };
    // The button checked, the report shown, the list's entry and the document's title.
    auto shown = [&] {
        const auto& options = preview->Option1;
        return QString("%1 %2 %3 %4")
            .arg(std::ranges::find_if(options, &QRadioButton::isChecked) - options.begin())
            .arg(preview->RepType())
            .arg(preview->CbSelect->currentText(), title());
    };
    QStringList told, whileTold;
    RecordWhileTold(told, whileTold, shown);
    const auto report = [&](int16_t r) { return [&, r] { preview->SelectReport(r); }; };
    const auto entry = [&] { preview->CbSelect->SetListIndex(1); };
    const auto calendar = [&] { preview->Toolbar1->press("Calendar"); };
    plat::ModalHook::SetAnswererForTest([](QDialog&) { return int(QDialog::Rejected); });
    const struct {
        int16_t before;                             // the report shown first
        std::vector<std::function<void()>> locked;  // the user's choices, one by one
        QStringList held;  // shown while told of each choice told, then after the last
        QString shownAfter;
    } cases[] = {
        {DlgPreview::TaskReport,
         {report(DlgPreview::CustomerReport), calendar},
         {"1 2 Massage Massage", "1 2 Massage Massage", "1 2 Massage Massage"},
         "1 1 Ann Ann"},
        {DlgPreview::CustomerReport, {entry}, {"1 1 Bob Ann", "1 1 Bob Ann"}, "1 1 Bob Bob"},
        {DlgPreview::TaskReport,
         {report(DlgPreview::CustomerReport), entry},
         {"1 2 Massage Massage", "2 2 Sauna Massage", "2 2 Sauna Massage"},
         "2 2 Sauna Sauna"},
        {DlgPreview::TaskReport,
         {report(DlgPreview::CustomerReport), report(DlgPreview::DayReport)},
         {"1 2 Massage Massage", "0 0  Room A"},
         "0 0  Room A"},
    };
    SharedObjects::DAO().setBusyWaitMs(300);
    for (const auto& c : cases) {
        open().SelectReport(c.before);
        told.clear();
        whileTold.clear();
        HeldDatabase held(folder, folder.file("Rostima.mdb"));
        for (const auto& choose : c.locked) {
            SharedObjects::DAO().WaitAgain();  // each choice is a command of its own
            choose();
        }
        EXPECT_EQ(told, QStringList(c.held.size() - 1, ModMain::kNotRead));
        EXPECT_EQ(whileTold << shown(), c.held);
        EXPECT_EQ(document().state(), plat::ViewProDocument::State::Ended);
        held.release();
        preview->ReportRead->RunDue();
        EXPECT_EQ(shown(), c.shownAfter);
        EXPECT_FALSE(preview->ReportRead->Due());
        EXPECT_EQ(preview->CbSelect->isEnabled(), preview->RepType() != DlgPreview::DayReport);
    }
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
    plat::SetMsgBoxHook(nullptr);
}

TEST_F(BookingReports, WhileAReportRunsTheCloseBoxAndTheReportChoiceAreIgnored) {
    open();
    preview->show();
    bool tried = false;
    // Arrives while the report lets the window repaint.
    QTimer::singleShot(0, preview.get(), [&] {
        tried = true;
        preview->Option1[DlgPreview::DayReport]->click();
        preview->close();
    });
    preview->SelectReport(DlgPreview::CustomerReport);
    ASSERT_TRUE(tried);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->RepType(), DlgPreview::CustomerReport);
    EXPECT_TRUE(preview->Option1[DlgPreview::CustomerReport]->isChecked());
    EXPECT_EQ(headings().value(2), "Task");
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(document().state(), plat::ViewProDocument::State::Ended);
    // Once the run has ended the window closes as asked.
    preview->close();
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(BookingReports, CalendarRedrawsTheReportShownFromTheDateChosenForItsFirstEntry) {
    open().SelectReport(DlgPreview::TaskReport);
    preview->CbSelect->SetListIndex(1);  // Sauna
    int calendars = 0;
    bool toolbarOff = false;
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        EXPECT_NE(qobject_cast<DlgCalendar*>(&d), nullptr);
        ++calendars;
        toolbarOff = !preview->Toolbar1->isButtonEnabled("Print");
        DlgCalendar::setCalDate(kDay + 1);
        return int(QDialog::Accepted);
    });
    preview->Toolbar1->press("Calendar");
    EXPECT_EQ(calendars, 1);
    EXPECT_TRUE(toolbarOff);
    EXPECT_TRUE(preview->Toolbar1->isButtonEnabled("Print"));
    EXPECT_EQ(editor.CurrentDate(), kDay + 1);
    EXPECT_EQ(preview->CbSelect->currentText(), "Massage");
    EXPECT_EQ(rows(), (QList<QStringList>{{"04 Mar 2026", "08:00 am", "", "Room B", "", "", ""}}));
}

TEST_F(BookingReports, PreviewErrorsAreLoggedAsTheyCome) {
    open().ViewPro1_Error(5, "abc");
    EXPECT_EQ(folder.logText().count("ViewPro Error (5): abc"), 1);
}

}  // namespace
