#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <optional>

#include "BookingWindowFixture.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ComboBox.h"
#include "DlgRepeat.h"
#include "ReadAgain.h"
#include "Tabrix.h"

namespace {

using plat::Tabrix;

// Anna's booking of Tuesday 10 March 2026, 9:00 to 10:00, is repeated weekly. Anna is
// booked over it on 17 March and right after it on 24 March; Ben on 31 March.
class DlgRepeatTest : public BookingWindowFixture {
protected:
    void SetUp() override {
        BookingWindowFixture::SetUp();
        booking(1, day(2026, 3, 10), 540, 600);
        booking(1, day(2026, 3, 17), 570, 630);
        booking(1, day(2026, 3, 24), 600, 660);
        booking(2, day(2026, 3, 31), 540, 600);
        setting("Repeat", "Type", "0");
        form.Appt = {day(2026, 3, 10), 1, 1, 540, 600, 1, 1, "R1", "R2", "R3", "Bring notes"};
    }
    void load() {
        form.Form_Load();
        form.show();
    }
    // Each row as "<check value>/<data is the date>" for the first rows.
    QStringList rows(int count) {
        QStringList out;
        const auto dates = RepeatDatesOf(count);
        for (int r = 0; r < count; ++r)
            out << QString("%1/%2")
                       .arg(form.LbTimeSlot->cellValue(r, 1))
                       .arg(form.LbTimeSlot->rowData(r) == dates[r] ? "free" : "taken");
        return out;
    }
    std::vector<int32_t> RepeatDatesOf(int count) {
        std::vector<int32_t> d;
        for (int i = 0; i < count; ++i) d.push_back(day(2026, 3, 10) + 7 * i);
        return d;
    }
    // The pattern and the resource chosen, and the first four dates listed.
    QString shown() {
        size_t pattern = 0;
        while (pattern < form.Option1.size() && !form.Option1[pattern]->isChecked()) ++pattern;
        QStringList dates;
        for (int r = 0; r < std::min(4, form.LbTimeSlot->rowCount()); ++r)
            dates << form.LbTimeSlot->cellText(r, 3).left(2) +
                         (form.LbTimeSlot->rowData(r) != 0 ? " free" : " taken");
        return QString("%1 %2: ").arg(pattern).arg(form.CbResource->currentText()) +
               dates.join(", ");
    }
    int64_t count(const QString& where) {
        return scalar("select count(*) from tblBookings where " + where);
    }

    DlgRepeat form;
};

}  // namespace

TEST_F(DlgRepeatTest, FiftyDatesAreListedWithTheChosenResourcesClashesGreyed) {
    load();
    EXPECT_EQ(form.LbTimeSlot->rowCount(), 50);
    EXPECT_EQ(form.LbTimeSlot->cellText(0, 2).toStdString(), "Tue");
    EXPECT_EQ(form.LbTimeSlot->cellText(0, 3).toStdString(), "10 March 2026");
    EXPECT_EQ(form.LbTimeSlot->cellText(49, 3).toStdString(), "16 February 2027");
    const QStringList labels{form.LblStartTime->text(), form.LblEndTime->text(),
                             form.LblTask->text(), form.LblCustomer->text()};
    EXPECT_EQ(labels.join("|").toStdString(), "09:00 am|10:00 am|Visit|Smith");
    // The booking itself and the one over it are taken; touching is free.
    EXPECT_EQ(rows(4), (QStringList{"2/taken", "2/taken", "0/free", "0/free"}));
    EXPECT_EQ(form.LbTimeSlot->rowColor(1), DlgRepeat::kTakenColour);
    EXPECT_EQ(form.LbTimeSlot->rowData(1), 0);

    form.BtnSelect[0]->click();
    EXPECT_EQ(rows(4), (QStringList{"2/taken", "2/taken", "1/free", "1/free"}));
    EXPECT_EQ(form.LbTimeSlot->cellValue(49, 1), Tabrix::Checked);
    form.BtnSelect[1]->click();
    EXPECT_EQ(rows(4), (QStringList{"2/taken", "2/taken", "0/free", "0/free"}));

    form.CbResource->SetListIndex(1);  // Ben
    EXPECT_EQ(rows(4), (QStringList{"0/free", "0/free", "0/free", "2/taken"}));
}

TEST_F(DlgRepeatTest, ThePatternIsRememberedAndEachChoiceRelistsTheDates) {
    setting("Repeat", "Type", "5");
    load();
    EXPECT_TRUE(form.Option1[5]->isChecked());
    EXPECT_EQ(form.LbTimeSlot->cellText(1, 3).toStdString(), "14 April 2026");
    form.Option1[6]->click();
    EXPECT_EQ(setting("Repeat", "Type").toStdString(), "6");
    EXPECT_EQ(form.LbTimeSlot->cellText(1, 3).toStdString(), "11 March 2026");
    setting("Repeat", "Type", "99");  // a value no button has: the first pattern
    DlgRepeat other;
    other.Appt = form.Appt;
    other.Form_Load();
    EXPECT_TRUE(other.Option1[0]->isChecked());
}

// Another program holds the database while the user chooses patterns and resources: what
// the user chose stays chosen, the dates shown stay those of the last listing rather than
// offer taken dates as free, each choice is told once, and the last choice is listed once
// the database lets go.
TEST_F(DlgRepeatTest, TheLastChoiceIsListedOnceALockedDatabaseLetsGo) {
    const QString anna = "Anna: 10 taken, 17 taken, 24 free, 31 free";
    const struct {
        const char* name;
        std::vector<std::function<void()>> locked;  // the user's choices, one by one
        QStringList whileTold;                      // shown while told of each
        QString listed;                             // once read again
    } cases[] = {
        {"a pattern",
         {[&] { form.Option1[7]->click(); }},
         {"7 " + anna},
         "7 Anna: 10 taken, 11 free, 12 free, 13 free"},
        {"a resource",
         {[&] { form.CbResource->SetListIndex(1); }},
         {"0 Ben" + anna.mid(4)},
         "0 Ben: 10 free, 17 free, 24 free, 31 taken"},
        {"a pattern, then a resource",
         {[&] { form.Option1[7]->click(); }, [&] { form.CbResource->SetListIndex(1); }},
         {"7 " + anna, "7 Ben" + anna.mid(4)},
         "7 Ben: 10 free, 11 taken, 12 free, 13 free"},
        {"a pattern, then the first again",
         {[&] { form.Option1[7]->click(); }, [&] { form.Option1[0]->click(); }},
         {"7 " + anna, "0 " + anna},
         "0 Anna: 10 taken, 17 taken, 24 free, 31 taken"},
    };
    QStringList whileTold;
    RecordWhileTold(messages, whileTold, [&] { return shown(); });
    SharedObjects::DAO().setBusyWaitMs(300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sql({"delete from tblBookings where BookingDate = " + QString::number(day(2026, 3, 31)) +
                 " and ResourceId = 1",
             "delete from tblBookings where BookingDate = " + QString::number(day(2026, 3, 11))});
        setting("Repeat", "Type", "0");
        load();
        ASSERT_EQ(shown(), "0 " + anna);
        messages.clear();
        whileTold.clear();
        std::optional<HeldDatabase> held;
        held.emplace(folder, folder.file("Rostima.mdb"));
        for (const auto& choose : c.locked) {
            SharedObjects::DAO().WaitAgain();  // each choice is a command of its own
            choose();
        }
        EXPECT_EQ(messages, QStringList(c.whileTold.size(), ModMain::kNotRead));
        EXPECT_EQ(whileTold, c.whileTold);
        EXPECT_EQ(shown(), c.whileTold.last());
        EXPECT_EQ(setting("Repeat", "Type"), "0");
        held.reset();
        // Other workstations, meanwhile.
        booking(1, day(2026, 3, 31), 540, 600);
        booking(2, day(2026, 3, 11), 540, 600);
        form.DatesRead->RunDue();
        EXPECT_EQ(shown(), c.listed);
        EXPECT_EQ(setting("Repeat", "Type"), c.listed.left(1));
        EXPECT_FALSE(form.DatesRead->Due());
    }
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

// Opened by the user's command: a part that cannot be read is told once and left empty
// (the labels show no name rather than a wrong one), what could be read is shown, and the
// rest is read again shortly.
TEST_F(DlgRepeatTest, WhatCannotBeReadOnOpeningIsToldOnceAndReadAgainShortly) {
    auto opened = [](const DlgRepeat& d) {
        return QString("%1|%2|%3 resources|%4 dates")
            .arg(d.LblTask->text(), d.LblCustomer->text())
            .arg(d.CbResource->count())
            .arg(d.LbTimeSlot->rowCount());
    };
    const struct {
        const char* name;
        QStringList lock, unlock;  // statements; none: another program holds the database
        QString kept;
    } cases[] = {
        {"the database held", {}, {}, "||0 resources|0 dates"},
        {"the customers unreadable",
         {"alter table tblCustomers rename to tblAway"},
         {"alter table tblAway rename to tblCustomers"},
         "||2 resources|50 dates"},
    };
    SharedObjects::DAO().setBusyWaitMs(300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DlgRepeat dialog;
        dialog.Appt = form.Appt;
        std::optional<HeldDatabase> held;
        if (c.lock.isEmpty())
            held.emplace(folder, folder.file("Rostima.mdb"));
        else
            sql(c.lock);
        SharedObjects::DAO().WaitAgain();
        messages.clear();
        dialog.Form_Load();
        EXPECT_EQ(messages, QStringList{QString("Warning!: ") + ModMain::kNotRead});
        EXPECT_EQ(opened(dialog), c.kept);
        EXPECT_TRUE(dialog.DatesRead->Due());
        held.reset();
        if (!c.unlock.isEmpty()) sql(c.unlock);
        dialog.DatesRead->RunDue();
        EXPECT_EQ(opened(dialog), "Visit|Smith|2 resources|50 dates");
        EXPECT_FALSE(dialog.DatesRead->Due());
        EXPECT_EQ(messages.size(), 1);
    }
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}

// Save while the dates of the resource chosen are unread reads them first: under the lock
// it says so and saves nothing; once they are listed the user ticks them, and the series
// is booked for that resource.
TEST_F(DlgRepeatTest, SaveReadsTheDatesChosenFirstAndBooksOnlyDatesTickedOnThem) {
    load();
    form.LbTimeSlot->click(2, 1);  // 24 March, on Anna's dates
    SharedObjects::DAO().setBusyWaitMs(300);
    {
        HeldDatabase held(folder, folder.file("Rostima.mdb"));
        SharedObjects::DAO().WaitAgain();
        form.CbResource->SetListIndex(1);  // Ben
        SharedObjects::DAO().WaitAgain();
        messages.clear();
        form.BtnRepeat[0]->click();
        EXPECT_EQ(messages, QStringList{"Warning!: Unable to save the repeated appointments!"
                                        "\r\n\r\nThe database is busy or cannot be read; "
                                        "nothing was saved."});
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.LbTimeSlot->cellValue(2, 1), Tabrix::Checked);
    }
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
    messages.clear();
    form.BtnRepeat[0]->click();
    EXPECT_EQ(messages, QStringList{"Warning!: The dates were listed again for the pattern and "
                                    "resource chosen: tick the dates to save."});
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(rows(4), (QStringList{"0/free", "0/free", "0/free", "2/taken"}));
    EXPECT_EQ(count("RepeatId <> 0"), 0);
    form.LbTimeSlot->click(2, 1);
    form.BtnRepeat[0]->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(count("RepeatId <> 0"), 1);
    EXPECT_EQ(
        count(
            QString("RepeatId <> 0 and ResourceId = 2 and BookingDate = %1").arg(day(2026, 3, 24))),
        1);
}

TEST_F(DlgRepeatTest, TickedDatesAreSavedAsOneSeriesAndADateTakenMeanwhileIsReported) {
    ClsBooking& shared = SharedObjects::Booking();
    ASSERT_EQ(shared.Load(1), Loaded::Row);  // what the editor shows
    load();
    for (int r : {2, 3, 5}) form.LbTimeSlot->click(r, 1);
    booking(1, day(2026, 3, 31), 550, 560);  // another workstation, after the listing
    const int64_t seriesBefore = scalar("select count(*) from tblRepeats");
    form.BtnRepeat[0]->click();

    EXPECT_EQ(messages, QStringList{"Warning!: Unable to save appointment for 31 Mar 2026!"});
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(scalar("select count(*) from tblRepeats"), seriesBefore + 1);
    const int64_t series = scalar("select max(RepeatId) from tblRepeats");
    ASSERT_GT(series, 0);
    const QString same = QString(
                             "RepeatId = %1 and ResourceId = 1 and BookingStart = 540 and "
                             "BookingEnd = 600 and TaskId = 1 and CustomerId = 1 and "
                             "Ref01 = 'R1' and Ref02 = 'R2' and Ref03 = 'R3' and "
                             "Comments = 'Bring notes'")
                             .arg(series);
    EXPECT_EQ(count(same), 2);
    EXPECT_EQ(
        count(same +
              QString(" and BookingDate in (%1, %2)").arg(day(2026, 3, 24)).arg(day(2026, 4, 14))),
        2);
    EXPECT_EQ(count("BookingId = 1 and RepeatId = 0"), 1);  // the repeated one stays single
    EXPECT_EQ(shared.BookingId(), 1);
    EXPECT_EQ(shared.BookingDate(), day(2026, 3, 10));
    EXPECT_EQ(shared.RepeatId(), 0);
}

TEST_F(DlgRepeatTest, ADateRefusedForAnotherReasonThanAClashSaysWhy) {
    struct Case {
        const char* name;
        std::function<void()> meanwhile;  // after the listing
        const char* reason;
        QStringList undo;  // afterwards
    } cases[] = {
        {"a write the database refuses",
         [this] {
             sql(
                 {"create trigger refuse before insert on tblBookings "
                  "begin select raise(abort, 'refused'); end"});
         },
         "The database is busy or cannot be written; nothing was saved from this date on.",
         {"drop trigger refuse"}},
        {"the customer deleted",
         [] { ClsCustomer().Delete(1); },
         "The resource, appointment type or customer no longer exists.",
         {}},
    };
    for (const Case& c : cases) {
        messages.clear();
        DlgRepeat dialog;
        dialog.Appt = form.Appt;
        dialog.Form_Load();
        dialog.show();
        dialog.LbTimeSlot->click(2, 1);
        c.meanwhile();
        dialog.BtnRepeat[0]->click();
        EXPECT_EQ(messages, QStringList{QString("Warning!: Unable to save appointment for "
                                                "24 Mar 2026!\r\n\r\n") +
                                        c.reason})
            << c.name;
        EXPECT_EQ(count("RepeatId <> 0"), 0) << c.name;
        if (!c.undo.isEmpty()) sql(c.undo);
    }
}

TEST_F(DlgRepeatTest, ASeriesThatCannotBeMadeIsRefusedAndNothingIsSaved) {
    struct Case {
        const char* name;
        std::function<void(DlgRepeat::Appointment&)> change;
        const char* message;
    } cases[] = {
        {"end before start", [](auto& a) { a.EndTime = 540; },
         "Warning!: The appointment must end after it starts!"},
        {"no type", [](auto& a) { a.TaskId = 0; }, "Warning!: No task selected!"},
        {"a group without resources", [](auto& a) { a.GroupId = 9; },
         "Warning!: No resource selected!"},
        {"no series id to be had",
         [this](auto&) {
             sql(
                 {"create trigger no_series before insert on tblRepeats "
                  "begin select raise(abort, 'refused'); end"});
         },
         "Warning!: Unable to start a repeat series: no appointment was saved!\r\n\r\n"
         "The database is busy or cannot be written; nothing was saved."},
    };
    const int64_t before = count("1 = 1");
    for (const Case& c : cases) {
        messages.clear();
        DlgRepeat dialog;
        dialog.Appt = form.Appt;
        c.change(dialog.Appt);
        dialog.Form_Load();
        dialog.show();
        for (int r = 0; r < dialog.LbTimeSlot->rowCount(); ++r)
            dialog.LbTimeSlot->setCellValue(r, 1, Tabrix::Checked);
        dialog.BtnRepeat[0]->click();
        EXPECT_EQ(messages.join("|").toStdString(), c.message) << c.name;
        EXPECT_TRUE(dialog.isVisible()) << c.name;
        EXPECT_EQ(count("1 = 1"), before) << c.name;
    }
}

TEST_F(DlgRepeatTest, SpaceTicksTheSelectedDateAndEnterSaves) {
    load();
    QWidget* view = form.LbTimeSlot->viewport()->parentWidget();
    view->setFocus();
    form.LbTimeSlot->setSelectedRow(0);
    // 24 March is ticked, 31 March ticked and unticked; 17 March is taken and stays so.
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space,
                        Qt::Key_Space, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space})
        QTest::keyClick(view, key);
    EXPECT_EQ(rows(4), (QStringList{"2/taken", "2/taken", "1/free", "0/free"}));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(count("RepeatId > 0"), 1);
    EXPECT_EQ(count(QString("RepeatId > 0 and BookingDate = %1").arg(day(2026, 3, 24))), 1);
}
