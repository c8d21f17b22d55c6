#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <optional>

#include "BookingWindowFixture.h"
#include "CalendarState.h"
#include "DlgCalendar.h"
#include "Kalvo.h"
#include "KeyedToolbar.h"
#include "Plexaro.h"
#include "PlexaroCalendar.h"
#include "ReadAgain.h"

namespace {

// Anna (1) is booked on 5 and 20 March and 14 April 2026, Ben (2) on 10 March; Carl of
// the other group on 12 March. The schedule shows 10 March 2026.
class DlgCalendarTest : public BookingWindowFixture {
protected:
    void SetUp() override {
        BookingWindowFixture::SetUp();
        booking(1, day(2026, 3, 5), 540, 600);
        booking(1, day(2026, 3, 20), 540, 600);
        booking(1, day(2026, 3, 20), 660, 720);
        booking(1, day(2026, 4, 14), 540, 600);
        booking(2, day(2026, 3, 10), 540, 600);
        booking(3, day(2026, 3, 12), 540, 600);
        QApplication::processEvents();  // the main window's first activation, not the calendar's
    }
    // Runs the main window's Calendar command, the calendar's first activation after
    // `loaded`; `work` operates the shown calendar.
    void command(const std::function<void(DlgCalendar&)>& work) {
        plat::ModalHook::SetAnswererForTest([&](QDialog& d) {
            auto& cal = dynamic_cast<DlgCalendar&>(d);
            if (loaded) loaded();
            showAndActivate(cal);
            EXPECT_FALSE(dlg->Toolbar1->isButtonEnabled("Calendar"));
            work(cal);
            return cal.result();
        });
        dlg->Toolbar1->press("Calendar");
    }
    // The marked days of the shown page, as day numbers.
    static QList<int32_t> marked(const DlgCalendar& cal) {
        QList<int32_t> days;
        for (int p = 1; p <= plat::Kalvo::kDaysShown; ++p)
            if (cal.Cal->dayMark(p)) days << cal.Cal->visibleDay(1) + p - 1;
        return days;
    }
    static QStringList boxes(const DlgCalendar& cal) {
        QStringList shown;
        for (QCheckBox* box : cal.ChkResource)
            if (box->isVisibleTo(&cal)) shown << box->text() + (box->isChecked() ? "+" : "-");
        return shown;
    }
    std::function<void()> loaded;  // runs once the calendar was loaded, before it is shown
};

}  // namespace

TEST_F(DlgCalendarTest, TheSelectedRowsResourceIsTickedItsDaysMarkedAndTheChosenDayShown) {
    dlg->setCurrentResource(1);
    command([&](DlgCalendar& cal) {
        EXPECT_EQ(cal.Cal->value(), day(2026, 3, 10));
        EXPECT_EQ(boxes(cal), (QStringList{"Anna+", "Ben-"}));
        EXPECT_EQ(marked(cal), (QList<int32_t>{day(2026, 3, 5), day(2026, 3, 20)}));
        cal.ChkResource[1]->click();  // Ben too
        EXPECT_EQ(marked(cal),
                  (QList<int32_t>{day(2026, 3, 5), day(2026, 3, 10), day(2026, 3, 20)}));
        const int position = day(2026, 3, 20) - cal.Cal->visibleDay(1) + 1;
        QTest::mouseDClick(cal.Cal, Qt::LeftButton, {}, cal.Cal->cellRect(position).center());
    });
    EXPECT_EQ(CalendarState::CalDate(), day(2026, 3, 20));
    EXPECT_EQ(dlg->Sched->startDate(), day(2026, 3, 20));
    EXPECT_EQ(setting("Config", "LastDate"), QString::number(day(2026, 3, 20)));
    EXPECT_TRUE(folder.logText().contains("DateVal: " + QString::number(day(2026, 3, 20))));
    EXPECT_TRUE(dlg->Toolbar1->isButtonEnabled("Calendar"));
}

TEST_F(DlgCalendarTest, TurningThePageMarksTheNewMonthAtOnce) {
    dlg->setCurrentResource(1);
    command([&](DlgCalendar& cal) {
        cal.Cal->findChild<QToolButton*>("forward")->click();  // the page turns, the date stays
        EXPECT_EQ(cal.Cal->pageMonth(), day(2026, 4, 1));
        EXPECT_EQ(marked(cal), QList<int32_t>{day(2026, 4, 14)});
        cal.BtnCalendar[0]->click();  // Select: the date still selected
    });
    EXPECT_EQ(CalendarState::CalDate(), day(2026, 3, 10));
}

TEST_F(DlgCalendarTest, WithoutASelectedRowNothingIsTickedAndCancelAfterTodayKeepsTheDate) {
    dlg->Sched->setSelectedRow(-1);
    command([&](DlgCalendar& cal) {
        EXPECT_EQ(boxes(cal), (QStringList{"Anna-", "Ben-"}));
        EXPECT_TRUE(marked(cal).isEmpty());
        cal.BtnCalendar[1]->click();  // Today
        EXPECT_EQ(cal.Cal->value(), day(QDate::currentDate().year(), QDate::currentDate().month(),
                                        QDate::currentDate().day()));
        cal.BtnCalendar[2]->click();
    });
    EXPECT_EQ(CalendarState::CalDate(), day(2026, 3, 10));
}

// Another program holds the database from the opening, from a box's click or from a page
// turned: it is told once; the page, the boxes and the marks stay as they were shown, also
// while the user is told; and once it lets go the user's last request is read and shown.
// Boxes that could not be read are read first, by the read again or by a page turned.
TEST_F(DlgCalendarTest, ALockedDatabaseKeepsTheMarksAsShownUntilTheLastRequestIsRead) {
    const QString anna = "Anna+,Ben- March 2026: 46084,46099";
    const QString april = "Anna+,Ben- April 2026: " + QString::number(day(2026, 4, 14));
    auto nextPage = [](DlgCalendar& cal) { cal.Cal->turnPage(1); };
    auto readAgain = [](DlgCalendar& cal) { cal.MarksRead->RunDue(); };
    const struct {
        const char* what;
        bool opening;                              // held from the opening
        std::function<void(DlgCalendar&)> locked;  // then this, still held
        QString told, after;
        std::function<void(DlgCalendar&)> released = nullptr;  // once it lets go; none: read again
        bool activation = false;  // held from the first activation (after the load) instead
    } cases[] = {
        {"the opening", true, nullptr, " March 2026: ", anna},
        {"the first activation", false, nullptr, "Anna-,Ben- March 2026: ", anna, nullptr, true},
        // Nothing was shown yet: the boxes are read first, with the page turned to.
        {"the opening, then the next page", true, nextPage, " March 2026: ", april},
        {"the opening, then the next page once it lets go", true, nullptr, " March 2026: ", april,
         nextPage},
        {"Ben ticked too", false, [](DlgCalendar& cal) { cal.ChkResource[1]->click(); }, anna,
         "Anna+,Ben+ March 2026: 46084," + QString::number(day(2026, 3, 10)) + ",46099"},
        {"the next page", false, nextPage, anna, april},
        {"a day of another page", false,
         [&](DlgCalendar& cal) { cal.Cal->setValue(day(2026, 4, 20)); }, anna, april},
        // The last request wins: the page before the one shown, not the one asked first.
        {"the next page, then the page before", false,
         [](DlgCalendar& cal) {
             cal.Cal->turnPage(1);
             cal.Cal->turnPage(-1);
         },
         anna, "Anna+,Ben- February 2026: 46084"},
        {"the next page, then Ben ticked too", false,
         [](DlgCalendar& cal) {
             cal.Cal->turnPage(1);
             cal.ChkResource[1]->click();
         },
         anna, "Anna+,Ben+ April 2026: " + QString::number(day(2026, 4, 14))},
    };
    const DlgCalendar* shown = nullptr;
    auto view = [&] {
        QStringList days;
        for (const int32_t d : marked(*shown)) days << QString::number(d);
        return boxes(*shown).join(",") + " " +
               plat::PlexaroCalendar::formatDate(shown->Cal->pageMonth(), "F Y") + ": " +
               days.join(",");
    };
    QStringList whileTold;
    RecordWhileTold(messages, whileTold, [&] {
        shown = dlg->findChild<DlgCalendar*>();  // told from its opening too
        return view();
    });
    SharedObjects::DAO().setBusyWaitMs(300);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dlg->setCurrentResource(1);
        std::optional<HeldDatabase> held;
        auto hold = [&] {
            held.emplace(folder, folder.file("Rostima.mdb"));
            SharedObjects::DAO().WaitAgain();
            messages.clear();
            whileTold.clear();
        };
        if (c.opening) hold();
        loaded = c.activation ? std::function<void()>(hold) : nullptr;
        command([&](DlgCalendar& cal) {
            shown = &cal;
            if (!c.opening && !c.activation) hold();
            if (c.locked) c.locked(cal);
            EXPECT_EQ(messages, QStringList{ModMain::kNotRead});
            EXPECT_EQ(whileTold, QStringList{c.told});
            EXPECT_EQ(view(), c.told);
            EXPECT_TRUE(cal.MarksRead->Due());
            held.reset();
            (c.released ? c.released : readAgain)(cal);
            EXPECT_EQ(view(), c.after);
            EXPECT_FALSE(cal.MarksRead->Due());
            cal.BtnCalendar[2]->click();
        });
    }
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
