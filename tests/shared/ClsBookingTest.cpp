#include <gtest/gtest.h>

#include "AppInfo.h"
#include "ClsBooking.h"
#include "DbFixture.h"

namespace {
constexpr int32_t kDay = 46000;

class ClsBookingTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
    }
    // Saves a new booking; returns its id or 0.
    int32_t book(int32_t resource, int32_t day, int16_t start, int16_t end, int32_t task = 1,
                 int32_t customer = 0, int32_t repeat = 0) {
        ClsBooking b;
        b.setResourceId(resource);
        b.setBookingDate(day);
        b.setBookingStart(start);
        b.setBookingEnd(end);
        b.setTaskId(task);
        b.setCustomerId(customer);
        b.setRepeatId(repeat);
        return b.Save();
    }
    int64_t count() { return scalar("select count(*) from tblBookings"); }
};
}  // namespace

TEST_F(ClsBookingTest, TheClashRuleAtItsEdges) {
    ASSERT_NE(book(1, kDay, 600, 660), 0);
    struct Case { const char* what; int32_t res; int32_t day; int16_t s, e; bool clash; } cases[] = {
        {"touching after", 1, kDay, 660, 720, false},
        {"touching before", 1, kDay, 540, 600, false},
        {"inside", 1, kDay, 610, 650, true},
        {"same times", 1, kDay, 600, 660, true},
        {"around", 1, kDay, 590, 670, true},
        {"over the start", 1, kDay, 590, 610, true},
        {"over the end", 1, kDay, 650, 700, true},
        {"other resource", 2, kDay, 600, 660, false},
        {"other day", 1, kDay + 1, 600, 660, false},
    };
    ClsBooking probe;
    for (const auto& c : cases) {
        EXPECT_EQ(probe.GetBookingId(c.res, c.day, c.s, c.e, 0) != 0, c.clash) << c.what;
    }
    // Saving refuses exactly the clashing ones and writes nothing for them.
    for (const auto& c : cases) {
        const int64_t before = count();
        const int32_t id = book(c.res, c.day, c.s, c.e);
        EXPECT_EQ(id == 0, c.clash) << c.what;
        if (id) {
            ClsBooking().Delete(id);
        }
        EXPECT_EQ(count(), before) << c.what;
    }
}

TEST_F(ClsBookingTest, AnUpdateIsClashTestedAgainstEveryBookingButItself) {
    const int32_t a = book(1, kDay, 600, 660);
    const int32_t b = book(1, kDay, 700, 760);
    ClsBooking rec;
    ASSERT_TRUE(rec.Load(b));
    rec.setBookingStart(650);  // onto a
    EXPECT_EQ(rec.Save(), 0);
    ASSERT_TRUE(rec.Load(b));
    EXPECT_EQ(rec.BookingStart(), 700);
    rec.setBookingStart(680);  // longer, over its own old place only
    rec.setComments("moved");
    EXPECT_EQ(rec.Save(), b);
    EXPECT_EQ(rec.GetBookingId(1, kDay, 600, 660, a), 0);  // leaving itself out
}

TEST_F(ClsBookingTest, AnUpdateOfARowDeletedElsewhereReturnsZero) {
    const int32_t a = book(1, kDay, 600, 660);
    ClsBooking rec;
    ASSERT_TRUE(rec.Load(a));
    rec.Delete(a);
    rec.setComments("too late");
    EXPECT_EQ(rec.Save(), 0);
    EXPECT_EQ(count(), 0);
}

TEST_F(ClsBookingTest, NewIdsAreTheRowsOwnAndNeverReused) {
    const int32_t a = book(1, kDay, 600, 660);
    const int32_t b = book(2, kDay, 600, 660);  // same day and times, another resource
    EXPECT_GT(b, a);
    ClsBooking rec;
    ASSERT_TRUE(rec.Load(a));
    EXPECT_EQ(rec.ResourceId(), 1);
    rec.Delete(b);
    const int32_t c = book(2, kDay, 600, 660);
    EXPECT_GT(c, b);
    // A second Save of the same buffer updates the row it inserted.
    ClsBooking again;
    again.setResourceId(3);
    again.setBookingDate(kDay);
    again.setBookingStart(10);
    again.setBookingEnd(20);
    const int32_t d = again.Save();
    EXPECT_EQ(again.Save(), d);
    EXPECT_EQ(count(), 3);
}

TEST_F(ClsBookingTest, LoadStopsAtANullColumnAndKeepsTheBufferForAMissingRow) {
    const int32_t a = book(4, kDay, 600, 660, 7, 9);
    ASSERT_TRUE(dao().SqlAction(QString("update tblBookings set Ref01 = null where BookingId = %1").arg(a)));
    ClsBooking rec;
    rec.setTaskId(55);
    EXPECT_FALSE(rec.Load(a));
    EXPECT_EQ(rec.BookingStart(), 600);  // copied before the null
    EXPECT_EQ(rec.TaskId(), 55);         // not reached
    EXPECT_TRUE(folder.logText().contains("ClsBooking.Load: Error 94 on line "));
    EXPECT_FALSE(rec.Load(a + 100));
    EXPECT_EQ(rec.BookingStart(), 600);
}

TEST_F(ClsBookingTest, RepeatIdsComeFromOurOwnInsertAndTheTableIsPruned) {
    SetTestSerNo(-42);
    ClsBooking rec;
    int32_t last = 0;
    for (int i = 0; i < 12; ++i) {
        const int32_t id = rec.NextRepeatId();
        EXPECT_EQ(id, last + 1);
        last = id;
    }
    EXPECT_EQ(scalar("select count(*) from tblRepeats"), 11);
    EXPECT_EQ(scalar("select count(*) from tblRepeats where SerialNo = '-42'"), 11);
    SetTestSerNo(0);
    ASSERT_TRUE(dao().SqlAction("drop table tblRepeats"));
    EXPECT_EQ(rec.NextRepeatId(), 0);
}

TEST_F(ClsBookingTest, DeleteRepeatsRemovesOneSeriesAndZeroRemovesNothing) {
    book(1, kDay, 600, 660, 1, 0, 5);
    book(2, kDay + 3, 600, 660, 1, 0, 5);
    book(1, kDay + 1, 600, 660, 1, 0, 6);
    book(1, kDay + 2, 600, 660);
    ClsBooking rec;
    rec.DeleteRepeats(0);
    EXPECT_EQ(count(), 4);
    rec.DeleteRepeats(5);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(scalar("select count(*) from tblBookings where RepeatId = 6"), 1);
}

TEST_F(ClsBookingTest, TheFingerprintFollowsEveryChangeTheChartShows) {
    ASSERT_TRUE(dao().SqlActions({"insert into tblResources (GroupId, ResourceName) values (1, 'A')",
                                  "insert into tblResources (GroupId, ResourceName) values (1, 'B')",
                                  "insert into tblResources (GroupId, ResourceName) values (2, 'C')"}));
    ClsBooking rec;
    EXPECT_EQ(rec.BookingCheck(kDay, kDay + 5, 1), 0);
    const int32_t a = book(1, kDay, 540, 600);
    const int32_t b = book(1, kDay + 5, 600, 690);  // on the last day of the range
    QSet<int32_t> seen;
    auto take = [&](const char* what) {
        const int32_t f = rec.BookingCheck(kDay, kDay + 5, 1);
        EXPECT_NE(f, 0) << what;
        EXPECT_FALSE(seen.contains(f)) << what;
        seen.insert(f);
        return f;
    };
    const int32_t start = take("two bookings");
    for (const char* change : {"set ResourceId = 2", "set BookingDate = 46001", "set TaskId = 9",
                               "set CustomerId = 4", "set BookingStart = 610, BookingEnd = 700"}) {
        ASSERT_TRUE(dao().SqlAction(QString("update tblBookings %1 where BookingId = %2").arg(change).arg(b)));
        take(change);
    }
    // What the chart does not show leaves it alone.
    book(3, kDay, 100, 200);      // another group's resource
    book(1, kDay + 6, 100, 200);  // after the range
    ASSERT_TRUE(dao().SqlAction(QString("update tblBookings set Comments = 'x' where BookingId = %1").arg(a)));
    EXPECT_TRUE(seen.contains(rec.BookingCheck(kDay, kDay + 5, 1)));
    EXPECT_NE(rec.BookingCheck(kDay, kDay + 5, 1), start);
}

// One workstation of several that act at the same moments: its own program name (so no
// lock of ours orders them), then on each "go" one draw. "clash": a booking of resource 1
// on the round's day at 600-660, the slot every workstation wants. "ids": a booking of
// its own resource at the same day and times as every other's, then a repeat-series id
// under the key they all share. Answers with the ids it got, 0 for none.
ROSTIMA_CHILD(workstation) {
    plat::SetAppExeNameForTest(args[2]);
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    const int32_t resource = args[3].toInt();
    for (QString go = ChildHear(); go.startsWith("go"); go = ChildHear()) {
        ClsBooking b;
        b.setResourceId(args[1] == "clash" ? 1 : resource);
        b.setBookingDate(kDay + go.mid(3).toInt());
        b.setBookingStart(600);
        b.setBookingEnd(660);
        b.setTaskId(1);
        const int32_t id = b.Save();
        const int32_t repeat = args[1] == "ids" ? b.NextRepeatId() : 0;
        ChildSay(QString::number(id) + " " + QString::number(repeat));
    }
    dao.DbClose();
    return 0;
}

namespace {
constexpr int kWorkstations = 4;
constexpr int kRounds = 60;

// Runs the workstations through the rounds, all told "go" together (their start barrier
// is the pipe each one waits on); per round the answers, one a workstation.
std::vector<QStringList> raceRounds(const TempProgramFolder& folder, const QString& db,
                                    const char* mode) {
    std::vector<std::unique_ptr<ChildProcess>> ws;
    for (int w = 1; w <= kWorkstations; ++w)
        ws.push_back(std::make_unique<ChildProcess>(
            folder, "workstation",
            QStringList{db, mode, folder.exeName() + "_ws" + QString::number(w),
                        QString::number(10 + w)}));
    std::vector<QStringList> answers;
    for (int round = 0; round < kRounds; ++round) {
        for (auto& w : ws) w->say("go " + QString::number(round));
        QStringList said;
        for (auto& w : ws) said << w->readLine();
        answers.push_back(said);
    }
    for (auto& w : ws) EXPECT_EQ(w->finish(), 0);
    return answers;
}
}  // namespace

TEST_F(ClsBookingTest, WorkstationsSavingTheSameSlotAtOnceStoreItExactlyOnce) {
    const auto answers = raceRounds(folder, dbPath(), "clash");
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        int saved = 0;
        for (const QString& a : answers[round]) saved += a.section(' ', 0, 0).toInt() != 0;
        EXPECT_EQ(saved, 1) << answers[round].join(" | ").toStdString();
        EXPECT_EQ(scalar(QString("select count(*) from tblBookings where BookingDate = %1")
                             .arg(kDay + round)),
                  1);
    }
}

TEST_F(ClsBookingTest, WorkstationsDrawingAtOnceGetTheirOwnRowsIdAndNeverTheSameRepeatId) {
    SetTestSerNo(0);  // one key for all, as test utilities have
    const auto answers = raceRounds(folder, dbPath(), "ids");
    QSet<int32_t> repeats;
    for (int round = 0; round < kRounds; ++round) {
        for (int w = 1; w <= kWorkstations; ++w) {
            const QString a = answers[round].value(w - 1);
            const int32_t id = a.section(' ', 0, 0).toInt();
            const int32_t repeat = a.section(' ', 1, 1).toInt();
            ASSERT_NE(id, 0) << round;
            // The id names the row this workstation wrote, not another's of the same times.
            EXPECT_EQ(
                scalar(QString("select ResourceId from tblBookings where BookingId = %1").arg(id)),
                10 + w)
                << round;
            EXPECT_NE(repeat, 0) << round;
            EXPECT_FALSE(repeats.contains(repeat)) << round << " " << repeat;
            repeats.insert(repeat);
        }
    }
}
