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

// Another program holds the database while the user chooses a pattern and then a resource:
// what the user chose stays chosen, the dates shown stay those of the last listing rather
// than offer taken dates as free, and each choice is told once. Save reads the dates chosen
// first: under the lock it says so, once the lock is gone it lists them for the user to
// tick, and the series is booked only on dates ticked on them.
TEST_F(DlgRepeatTest, TheLastChoiceIsListedBeforeASaveAndOnlyDatesTickedOnItAreBooked) {
    auto shown = [&] {  // the pattern, the resource and the first four dates (x: taken)
        int pattern = 0;
        while (!form.Option1[static_cast<size_t>(pattern)]->isChecked()) ++pattern;
        QString out = QString("%1 %2:").arg(pattern).arg(form.CbResource->currentText());
        for (int r = 0; r < 4; ++r)
            out += " " + form.LbTimeSlot->cellText(r, 3).left(2) +
                   (form.LbTimeSlot->rowData(r) != 0 ? "" : "x");
        return out;
    };
    QStringList whileTold;
    RecordWhileTold(messages, whileTold, shown);
    load();
    form.LbTimeSlot->click(2, 1);  // 24 March, on Anna's weekly dates
    HeldByAnother held(folder);
    form.Option1[7]->click();
    SharedObjects::DAO().WaitAgain();  // each choice is a command of its own
    form.CbResource->SetListIndex(1);
    SharedObjects::DAO().WaitAgain();
    form.BtnRepeat[0]->click();
    EXPECT_EQ(messages, (QStringList{ModMain::kNotRead, ModMain::kNotRead,
                                     "Unable to save the repeated appointments!\r\n\r\nThe "
                                     "database is busy or cannot be read; nothing was saved."}));
    EXPECT_EQ(setting("Repeat", "Type"), "0");
    held.release();
    booking(2, day(2026, 3, 11), 540, 600);  // another workstation, meanwhile
    form.BtnRepeat[0]->click();
    EXPECT_EQ(messages.mid(3), QStringList{"The dates were listed again for the pattern and "
                                           "resource chosen: tick the dates to save."});
    const QString anna = "Anna: 10x 17x 24 31";
    EXPECT_EQ(whileTold, (QStringList{"7 " + anna, "7 Ben" + anna.mid(4), "7 Ben" + anna.mid(4),
                                      "7 Ben: 10 11x 12 13"}));
    EXPECT_EQ(setting("Repeat", "Type"), "7");
    form.LbTimeSlot->click(2, 1);  // 12 March
    form.BtnRepeat[0]->click();
    EXPECT_EQ(count("RepeatId <> 0"), 1);
    EXPECT_EQ(count("RepeatId <> 0 and ResourceId = 2"), 1);
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
    const std::pair<QString, QString> cases[] = {
        {"tblCustomers", "||2 resources|50 dates"},
        {"tblResources", "Visit|Smith|0 resources|0 dates"},  // no dates without the resource
    };
    for (const auto& [unreadable, kept] : cases) {
        DlgRepeat dialog;
        dialog.Appt = form.Appt;
        messages.clear();
        sql({"alter table " + unreadable + " rename to tblAway"});
        dialog.Form_Load();
        sql({"alter table tblAway rename to " + unreadable});
        EXPECT_EQ(messages, QStringList{QString("Warning!: ") + ModMain::kNotRead});
        EXPECT_EQ(opened(dialog), kept);
        dialog.DatesRead->RunDue();
        EXPECT_EQ(opened(dialog), "Visit|Smith|2 resources|50 dates");
    }
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
