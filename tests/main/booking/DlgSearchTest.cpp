#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include "BookingWindowFixture.h"
#include "CalendarState.h"
#include "ComboBox.h"
#include "DlgSearch.h"
#include "KeyedToolbar.h"
#include "Plexaro.h"
#include "ReadAgain.h"
#include "Tabrix.h"

namespace {

// The present is Tuesday 10 March 2026, 10:30. Smith's bookings: Anna on 9 March, Ben
// on 10 March from 10:29, Anna on 10 March from 10:30 and on 11 March (an X-ray), Carl
// of the other group on 12 March. Ben has one more on 1 April without a customer.
class DlgSearchTest : public BookingWindowFixture {
protected:
    void SetUp() override {
        BookingWindowFixture::SetUp();
        DlgSearch::setClockForTest([] { return QDateTime(QDate(2026, 3, 10), QTime(10, 30)); });
        booking(1, day(2026, 3, 11), 480, 510, 2);
        booking(1, day(2026, 3, 10), 630, 660);
        booking(2, day(2026, 3, 10), 629, 645);
        booking(1, day(2026, 3, 9), 540, 600);
        booking(2, day(2026, 4, 1), 780, 840, 1, 0);
        booking(3, day(2026, 3, 12), 540, 600);
        setting("Search", "SearchBy", "0");
        setting("Search", "Selection", "0");
    }
    void TearDown() override {
        DlgSearch::setClockForTest(nullptr);
        BookingWindowFixture::TearDown();
    }
    void load() {
        form.Form_Load();
        form.show();
    }
    QStringList choices() {
        QStringList names;
        for (int i = 0; i < form.CbSearch->count(); ++i) names << form.CbSearch->itemText(i);
        return names;
    }
    void choose(const QString& name) { form.CbSearch->SetListIndex(choices().indexOf(name)); }
    // Each result as "<date> <from> <resource>".
    std::string results() {
        QStringList rows;
        for (int r = 0; r < form.LbResults->rowCount(); ++r)
            rows << form.LbResults->cellText(r, 1) + " " + form.LbResults->cellText(r, 3) + " " +
                        form.LbResults->cellText(r, 7);
        return rows.join(" | ").toStdString();
    }
    std::string row(int r) {
        QStringList cells;
        for (int c = 1; c <= 7; ++c) cells << form.LbResults->cellText(r, c);
        return cells.join(";").toStdString();
    }

    DlgSearch form;
};

}  // namespace

TEST_F(DlgSearchTest, ResultsComeInDateOrderAndTheFutureFilterStartsAtThePresentMinute) {
    load();
    EXPECT_EQ(choices(), (QStringList{"Jones", "Smith"}));
    EXPECT_EQ(form.LbResults->columnCount(), 7);
    EXPECT_EQ(results(), "");  // Jones, the first entry, has no bookings
    choose("Smith");
    EXPECT_EQ(results(),
              "09 Mar 26 09:00 am Anna | 10 Mar 26 10:29 am Ben | 10 Mar 26 10:30 am Anna | "
              "11 Mar 26 08:00 am Anna | 12 Mar 26 09:00 am Carl");
    EXPECT_EQ(row(2), "10 Mar 26;Tue;10:30 am;11:00 am;Visit;Smith;Anna");
    EXPECT_EQ(row(3), "11 Mar 26;Wed;08:00 am;08:30 am;X-ray;Smith;Anna");
    form.ChkSelection->click();
    EXPECT_EQ(setting("Search", "Selection").toStdString(), "1");
    EXPECT_EQ(results(),
              "10 Mar 26 10:30 am Anna | 11 Mar 26 08:00 am Anna | 12 Mar 26 09:00 am Carl");
}

TEST_F(DlgSearchTest, EachKindListsItsChoicesAndTheSearchFollowsTheButtonChosen) {
    load();
    form.BtnSearchBy[2]->click();
    EXPECT_EQ(setting("Search", "SearchBy").toStdString(), "2");
    EXPECT_EQ(choices(), (QStringList{"Anna", "Ben"}));  // the chart's group only
    EXPECT_EQ(results(),
              "09 Mar 26 09:00 am Anna | 10 Mar 26 10:30 am Anna | "
              "11 Mar 26 08:00 am Anna");
    choose("Ben");
    EXPECT_EQ(row(1), "01 Apr 26;Wed;01:00 pm;02:00 pm;Visit;;Ben");

    form.BtnSearchBy[1]->click();
    EXPECT_EQ(choices(), (QStringList{"Visit", "X-ray"}));
    // Another copy of the program on this workstation writes the shared settings file.
    setting("Search", "SearchBy", "0");
    setting("Options", "UseMilitaryTime", "1");
    form.ChkSelection->click();
    EXPECT_EQ(results(), "10 Mar 26 10:30 Anna | 12 Mar 26 09:00 Carl | 01 Apr 26 13:00 Ben");
}

TEST_F(DlgSearchTest, AnEmptyChoiceListClearsTheResultsOfTheKindBefore) {
    setting("Search", "SearchBy", "2");
    load();
    ASSERT_EQ(form.LbResults->rowCount(), 3);
    sql({"delete from tblCustomerGroups"});
    form.BtnSearchBy[0]->click();
    EXPECT_EQ(form.CbSearch->count(), 0);
    EXPECT_EQ(form.LbResults->rowCount(), 0);
    EXPECT_EQ(form.LbResults->columnCount(), 7);
}

TEST_F(DlgSearchTest, GotoMovesTheChartToTheChosenBookingOnceOneIsSelected) {
    setting("Search", "SearchBy", "2");
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        auto& search = dynamic_cast<DlgSearch&>(d);
        EXPECT_FALSE(dlg->Toolbar1->isButtonEnabled("Binocular"));
        search.BtnSearch[0]->click();
        EXPECT_EQ(messages, QStringList{"Warning!: Please select appointment first!"});
        search.LbResults->doubleClick(2, 1);  // 11 March, 8:00, Anna
        return search.result();
    });
    dlg->Toolbar1->press("Binocular");
    EXPECT_EQ(CalendarState::CalDate(), day(2026, 3, 11));
    EXPECT_EQ(dlg->Sched->rowData(dlg->Sched->selectedRow()), 1);
    EXPECT_TRUE(dlg->Toolbar1->isButtonEnabled("Binocular"));
}

TEST_F(DlgSearchTest, GotoABookingOfAnotherGroupShowsThatGroupFirst) {
    plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
        auto& search = dynamic_cast<DlgSearch&>(d);
        search.CbSearch->SetListIndex(1);     // Smith
        search.LbResults->doubleClick(4, 1);  // 12 March, 9:00, Carl of the Lab
        return search.result();
    });
    dlg->Toolbar1->press("Binocular");
    EXPECT_EQ(dlg->CbGroup->currentText(), "Lab");
    EXPECT_EQ(dlg->Sched->title(), "Lab");
    EXPECT_EQ(CalendarState::CalDate(), day(2026, 3, 12));
    ASSERT_GT(dlg->Sched->selectedRow(), 0);
    EXPECT_EQ(dlg->Sched->rowData(dlg->Sched->selectedRow()), 3);
}

TEST_F(DlgSearchTest, AChoiceMadeWhileTheListFillsIsListedAloneOnceTheFillEnds) {
    // More of Anna's bookings than the list fills between two yields.
    sql({QString("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                 "insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                 "CustomerId, ResourceId, RepeatId, Ref01, Ref02, Ref03, Comments) "
                 "select 1, %2 + i, 540, 600, 1, 1, 0, '', '', '', '' from n")
             .arg(DlgSearch::kRowsPerYield * 3)
             .arg(day(2026, 6, 1))});
    setting("Search", "SearchBy", "2");
    load();
    ASSERT_EQ(form.LbResults->rowCount(), DlgSearch::kRowsPerYield * 3 + 3);
    QTimer::singleShot(0, &form, [&] {
        choose("Ben");
        form.close();  // waits for the fill
        EXPECT_TRUE(form.isVisible());
    });
    form.DoSearch();
    EXPECT_EQ(results(), "10 Mar 26 10:29 am Ben | 01 Apr 26 01:00 pm Ben");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(DlgSearchTest, ALongCustomerNameKeepsTheWindowAndItsButtonsOnTheScreen) {
    const QString name = QString("Smith ") + QString(400, QChar('x'));
    sql({QString("update tblCustomers set CustomerName = '%1' where CustomerName = 'Smith'")
             .arg(name)});
    load();
    choose(name);
    QCoreApplication::processEvents();
    ASSERT_EQ(form.LbResults->rowCount(), 5);
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_LE(form.frameGeometry().width(), screen.width());
    for (QPushButton* b : form.BtnSearch)
        EXPECT_TRUE(screen.contains(b->mapToGlobal(b->rect().bottomRight())))
            << b->text().toStdString();
}

// Another program holds the database: a command is told once; the lists, the kind, the
// entry and the box stay as shown, also while the user is told; and once it lets go the
// user's last request is read (with a result Anna booked meanwhile).
TEST_F(DlgSearchTest, ALockedDatabaseKeepsTheListsAsShownUntilTheLastRequestIsRead) {
    auto shown = [&] {
        int kind = 0;
        while (!form.BtnSearchBy[static_cast<size_t>(kind)]->isChecked()) ++kind;
        return QString("%1 %2 %3 ")
                   .arg(kind)
                   .arg(form.CbSearch->currentText())
                   .arg(form.ChkSelection->isChecked()) +
               choices().join(",") + ": " + QString::fromStdString(results());
    };
    const QString anna =
        "2 Anna 0 Anna,Ben: 09 Mar 26 09:00 am Anna | 10 Mar 26 10:30 am Anna | 11 Mar 26 "
        "08:00 am Anna";
    const QString ben = "2 Ben 0 Anna,Ben: 10 Mar 26 10:29 am Ben | 01 Apr 26 01:00 pm Ben";
    const struct {
        const char* what;
        std::function<void()> locked;
        QString after;
        QString told = ModMain::kNotRead;
    } cases[] = {
        {"contacts", [&] { form.BtnSearchBy[0]->click(); }, "0 Jones 0 Jones,Smith: "},
        {"Ben", [&] { choose("Ben"); }, ben},
        {"from now on", [&] { form.ChkSelection->click(); },
         "2 Anna 1 Anna,Ben: 10 Mar 26 10:30 am Anna | 11 Mar 26 08:00 am Anna | 12 Mar 26 "
         "08:00 am Anna"},
        {"goto", [&] { form.LbResults->doubleClick(2, 1); }, anna + " | 12 Mar 26 08:00 am Anna",
         "Unable to go to the appointment!\r\n\r\nThe database is busy or cannot be read; "
         "nothing was changed."},
        // The last request wins: an entry of the kind shown replaces the kind asked before.
        {"contacts, then Ben",
         [&] {
             form.BtnSearchBy[0]->click();
             choose("Ben");
         },
         ben},
        {"Ben, then from now on",
         [&] {
             choose("Ben");
             form.ChkSelection->click();
         },
         "2 Ben 1 Anna,Ben: 01 Apr 26 01:00 pm Ben"},
    };
    QStringList whileTold;
    RecordWhileTold(messages, whileTold, shown);
    SharedObjects::DAO().setBusyWaitMs(300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sql({"delete from tblBookings where BookingDate = " + QString::number(day(2026, 3, 12)) +
             " and ResourceId = 1"});
        setting("Search", "SearchBy", "2");
        setting("Search", "Selection", "0");
        load();
        messages.clear();
        whileTold.clear();
        HeldDatabase held(folder, folder.file("Rostima.mdb"));
        SharedObjects::DAO().WaitAgain();
        c.locked();
        EXPECT_EQ(messages, QStringList{c.told});
        EXPECT_EQ(whileTold, QStringList{anna});
        EXPECT_EQ(shown(), anna);
        EXPECT_TRUE(form.isVisible() && form.ListsRead->Due());
        EXPECT_EQ(setting("Search", "SearchBy"), "2");
        EXPECT_EQ(setting("Search", "Selection"), "0");
        held.release();
        booking(1, day(2026, 3, 12), 480, 510);  // another workstation, meanwhile
        form.ListsRead->RunDue();
        EXPECT_EQ(shown(), c.after);
        EXPECT_FALSE(form.ListsRead->Due());
        EXPECT_EQ(dlg->CurrentDate(), day(2026, 3, 10));  // the chart did not move
    }
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
