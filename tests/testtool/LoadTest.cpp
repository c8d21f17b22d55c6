// Several workstations filling one database at once while another one follows the
// changes as the main program does.
#include <gtest/gtest.h>
#include <poll.h>

#include <QPushButton>
#include <QRegularExpression>
#include <QThread>

#include "ClsBooking.h"
#include "ClsDAO.h"
#include "ClsIni.h"
#include "DlgMain.h"
#include "Kalvo.h"
#include "ListBox.h"
#include "MsgBox.h"
#include "RosTestFixture.h"
#include "SharedObjects.h"

namespace {
constexpr int kFolders = 2;         // workstations running the utility
constexpr int kGeneratorsEach = 2;  // copies of the utility on each of them
constexpr int kRounds = 8;          // runs of each copy, each on two fresh days
constexpr int32_t kFirst = 46027, kLast = kFirst + 2 * kRounds - 1;

// One copy of the utility, run headless: every group ticked, the question answered Yes,
// no pauses, so that saves meet as often as they can. It runs kRounds times, each on two
// days nobody has booked yet, and reports the sum of its summaries.
ROSTIMA_CHILD(rostest_generator) {
    static const QRegularExpression counts("^Booked: (\\d+)\r\nUnbooked: (\\d+)$");
    int booked = 0, unbooked = 0, summaries = 0;
    plat::SetMsgBoxHook([&](const QString& prompt, int, const QString& title) {
        if (title == "Confirm") return int(plat::vbYes);
        const auto m = counts.match(prompt);
        summaries += m.hasMatch() ? 1 : 0;
        booked += m.captured(1).toInt();
        unbooked += m.captured(2).toInt();
        return int(plat::vbOK);
    });
    DlgMain::SetPauseForTest([](int) {});
    DlgMain window;
    window.Form_Load();
    for (int i = 0; i < window.LbGroups->count(); ++i) window.LbGroups->SetSelected(i, true);
    ChildSay(QString("ready %1").arg(window.LbGroups->count()));
    ChildHear();
    for (int round = 0; round < kRounds; ++round) {
        window.Kalvo1[1]->setValue(kFirst + 2 * round + 1);
        window.Kalvo1[0]->setValue(kFirst + 2 * round);
        window.BtnTest[0]->click();
    }
    ChildSay(
        QString("Summaries: %1 Booked: %2 Unbooked: %3").arg(summaries).arg(booked).arg(unbooked));
    return 0;
}

// A main program's refresh: every tick asks whether the bookings changed and, when they
// did, takes each group's fingerprint and reloads the group when it differs.
ROSTIMA_CHILD(main_poller) {
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    const QStringList groups = args.mid(1);
    std::vector<int32_t> kept(static_cast<size_t>(groups.size()), 0);
    int ticks = 0, updated = 0, reloads = 0;
    auto tick = [&] {
        ++ticks;
        if (!dao.DbUpdated().value_or(false)) return;  // unread: the next tick looks again
        ++updated;
        for (int g = 0; g < groups.size(); ++g) {
            const int32_t now =
                SharedObjects::Booking().BookingCheck(kFirst, kLast, groups[g].toInt()).value_or(0);
            if (now == kept[static_cast<size_t>(g)]) continue;
            kept[static_cast<size_t>(g)] = now;
            ++reloads;
            static_cast<void>(dao.SqlQuery(  // a failure shows in the counts checked
                "select * from tblBookings where BookingDate >= " + QString::number(kFirst) +
                " and BookingDate <= " + QString::number(kLast) +
                " and ResourceId in (select ResourceId from tblResources where GroupId = " +
                groups[g] + ")"));
        }
    };
    ChildSay("ready");
    pollfd in{0, POLLIN, 0};
    while (poll(&in, 1, 50) == 0) tick();
    ChildHear();  // stop: one last tick sees the final state
    tick();
    QStringList fingerprints;
    for (int32_t f : kept) fingerprints << QString::number(f);
    ChildSay(
        QString("%1 %2 %3 %4").arg(ticks).arg(updated).arg(reloads).arg(fingerprints.join(',')));
    dao.DbClose();
    return 0;
}

bool hasErrorLine(const QString& log) {
    static const QRegularExpression error(
        "^\\d{6} [0-9A-F]{8} .*error",
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    return error.match(log).hasMatch();
}
}  // namespace

TEST(LoadTest, WorkstationsBookingAtOnceNeverOverlapNorLoseABookingAndTheMainProgramFollows) {
    // Each workstation is a program folder of its own; the parent works in the last one.
    TempProgramFolder pollerFolder;
    std::vector<std::unique_ptr<TempProgramFolder>> workstations;
    for (int w = 0; w < kFolders; ++w)
        workstations.push_back(std::make_unique<TempProgramFolder>());
    TempProgramFolder folder;
    const QString db = folder.file("Rostima.mdb");
    ASSERT_TRUE(ClsDAO::CreateDatabase(db));
    ClsDAO& dao = SharedObjects::DAO();
    ASSERT_EQ(dao.DbOpen(db), 0);
    const QStringList setup = {
        "insert into tblGroups (GroupName, DayStart, DayEnd, Interval) values "
        "('Ward', 540, 1020, 15), ('Clinic', 500, 740, 20)",
        "insert into tblResources (GroupId, ResourceName, MinTime, MaxTime, InitTime) values "
        "(1, 'Bed 1', 15, 120, 15), (1, 'Bed 2', 15, 120, 15), (1, 'Bed 3', 0, 45, 15), "
        "(2, 'Room A', 0, 80, 20), (2, 'Room B', 20, 60, 20)",
        "insert into tblTasks (GroupId, TaskName, Colour, MinTime, MaxTime, InitTime) values "
        "(1, 'Check-up', 255, 15, 60, 15), (1, 'X-ray', 65280, 15, 60, 15), "
        "(2, 'Consult', 255, 20, 60, 20)",
        "insert into tblCustomers (CustomerName, Ref01, Ref02, Ref03) values "
        "('Ann', '', '', ''), ('Bob', '', '', ''), ('Cid', '', '', '')",
        "insert into tblCustomerGroups (CustomerId, GroupId) values (1, 1), (2, 1), (3, 1), (3, 2)",
    };
    ASSERT_TRUE(dao.SqlActions(setup));
    for (auto& w : workstations)
        WriteTestFile(w->file("Rostima.ini"), ("[Config]\nDbName=" + db + "\n").toUtf8());

    ChildProcess poller(pollerFolder, "main_poller", {db, "1", "2"});
    std::vector<std::unique_ptr<ChildProcess>> generators;
    for (auto& w : workstations)
        for (int g = 0; g < kGeneratorsEach; ++g)
            generators.push_back(std::make_unique<ChildProcess>(*w, "rostest_generator"));
    ASSERT_EQ(poller.readLine(), "ready");
    for (auto& g : generators) ASSERT_EQ(g->readLine(), "ready 2");
    for (auto& g : generators) g->say("go");  // a common start
    int booked = 0;
    static const QRegularExpression summary("^Summaries: (\\d+) Booked: (\\d+) Unbooked: \\d+$");
    for (auto& g : generators) {
        const auto m = summary.match(g->readLine(60000));
        ASSERT_TRUE(m.hasMatch());
        EXPECT_EQ(m.captured(1).toInt(), kRounds);
        booked += m.captured(2).toInt();
        EXPECT_EQ(g->finish(), 0);
    }
    poller.say("stop");
    const QStringList polled = poller.readLine().split(' ');
    ASSERT_EQ(polled.size(), 4);
    EXPECT_EQ(poller.finish(), 0);

    EXPECT_GT(booked, 0);
    EXPECT_EQ(dao.SqlQuery("select count(*) from tblBookings")->Field(0).toInt(), booked);
    for (const BookingRule& r : kBookingRules)
        EXPECT_EQ(dao.SqlQuery(QString(r.violations).arg(0))->Field(0).toInt(), 0) << r.rule;
    EXPECT_EQ(dao.SqlQuery("pragma integrity_check")->Field(0).toString(), "ok");
    // The main program saw the changes as they came and ends on the final schedule.
    EXPECT_GT(polled[1].toInt(), 1);
    EXPECT_GT(polled[2].toInt(), 2);
    ClsBooking check;
    EXPECT_EQ(polled[3], QString("%1,%2")
                             .arg(check.BookingCheck(kFirst, kLast, 1).value_or(0))
                             .arg(check.BookingCheck(kFirst, kLast, 2).value_or(0)));
    std::vector<const TempProgramFolder*> logged = {&pollerFolder, &folder};
    for (auto& w : workstations) logged.push_back(w.get());
    for (const TempProgramFolder* f : logged) {
        EXPECT_TRUE(f->logText().contains("Open database [1]")) << f->path().toStdString();
        EXPECT_FALSE(hasErrorLine(f->logText())) << f->logText().toStdString();
    }
}
