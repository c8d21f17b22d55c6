#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include "AppInfo.h"
#include "ClsBooking.h"
#include "ClsCustomer.h"
#include "ClsGroup.h"
#include "ClsResource.h"
#include "ClsTask.h"
#include "DbFixture.h"

namespace {
constexpr int32_t kDay = 46000;

class ClsBookingTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
        // A booking is stored only on a resource and a type that exist: resources 1 and 2
        // of group 1, 3 of group 2, the rest of group 3; types 1 to 9.
        QStringList rows;
        for (int r : {1, 2, 3, 4, 11, 12, 13, 14})
            rows << QString("insert into tblResources (ResourceId, GroupId, ResourceName) "
                            "values (%1, %2, 'R%1')")
                        .arg(r)
                        .arg(r <= 2 ? 1 : r == 3 ? 2 : 3);
        for (int t = 1; t <= 9; ++t)
            rows << QString("insert into tblTasks (TaskId, GroupId, TaskName) values (%1, 1, "
                            "'T%1')")
                        .arg(t);
        ASSERT_TRUE(dao().SqlActions(rows));
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
    // Bookings whose resource, type or customer does not exist: no window would show them
    // whole, and the start-up repair deletes them.
    int64_t orphans() {
        return scalar(
            "select count(*) from tblBookings where ResourceId not in (select "
            "ResourceId from tblResources) or TaskId not in (select TaskId from "
            "tblTasks) or (CustomerId <> 0 and CustomerId not in (select "
            "CustomerId from tblCustomers))");
    }
    // After a round of a saver: the bookings it still holds (ids in kept) are stored as
    // `what` says, and no other booking is on the day.
    void expectOnly(int32_t day, const QStringList& kept, const QString& what) {
        EXPECT_EQ(
            scalar(
                QString("select count(*) from tblBookings where BookingDate = %1 and ").arg(day) +
                what + " and BookingId in (" + (kept + QStringList{"0"}).join(',') + ")"),
            kept.size());
        EXPECT_EQ(
            scalar(QString("select count(*) from tblBookings where BookingDate = %1").arg(day)),
            kept.size());
    }
    // A customer saved as the customer editor saves one; returns its id.
    int32_t customer(const QString& name) {
        ClsCustomer c;
        c.setCustomerName(name);
        return c.Save();
    }
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
    ASSERT_EQ(rec.Load(b), Loaded::Row);
    rec.setBookingStart(650);  // onto a
    EXPECT_EQ(rec.Save(), 0);
    ASSERT_EQ(rec.Load(b), Loaded::Row);
    EXPECT_EQ(rec.BookingStart(), 700);
    rec.setBookingStart(680);  // longer, over its own old place only
    rec.setComments("moved");
    EXPECT_EQ(rec.Save(), b);
    EXPECT_EQ(rec.GetBookingId(1, kDay, 600, 660, a), 0);  // leaving itself out
}

TEST_F(ClsBookingTest, AnUpdateOfARowDeletedElsewhereReturnsZero) {
    const int32_t a = book(1, kDay, 600, 660);
    ClsBooking rec;
    ASSERT_EQ(rec.Load(a), Loaded::Row);
    rec.Delete(a);
    rec.setComments("too late");
    EXPECT_EQ(rec.Save(), 0);
    EXPECT_EQ(count(), 0);
}

TEST_F(ClsBookingTest, ASaveOntoAResourceTypeOrCustomerThatIsGoneIsRefusedAndSaysWhy) {
    ClsResource().Delete(2);
    ClsTask().Delete(5);
    const int32_t smith = customer("Smith");
    const int32_t deleted = customer("Roomy Ltd");
    ClsCustomer().Delete(deleted);
    const int32_t kept = book(1, kDay, 600, 660);
    ASSERT_NE(book(1, kDay, 900, 960), 0);  // in the way of the slot at 900
    using Why = ClsBooking::Refusal;
    struct Case {
        const char* what;
        int32_t res, task, customer;
        int16_t start;
        Why why;
    } cases[] = {
        {"resource deleted", 2, 1, 0, 700, Why::Gone},
        {"resource never there", 99, 1, 0, 700, Why::Gone},
        {"type deleted", 1, 5, 0, 700, Why::Gone},
        {"no type", 1, 0, 0, 700, Why::Gone},
        {"customer deleted", 1, 1, deleted, 700, Why::Gone},
        {"customer never there", 1, 1, 99, 700, Why::Gone},
        {"another booking in the way", 1, 1, smith, 900, Why::Clash},
        {"no customer", 1, 1, 0, 700, Why::None},
        {"a customer", 1, 1, smith, 700, Why::None},
    };
    for (const auto& c : cases) {
        // A new booking, then the stored one changed to the same values.
        ClsBooking fresh;
        fresh.setResourceId(c.res);
        fresh.setTaskId(c.task);
        fresh.setCustomerId(c.customer);
        fresh.setBookingDate(kDay);
        fresh.setBookingStart(c.start);
        fresh.setBookingEnd(c.start + 60);
        const int32_t id = fresh.Save();
        EXPECT_EQ(id != 0, c.why == Why::None) << c.what;
        EXPECT_EQ(fresh.LastRefusal(), c.why) << c.what;
        if (id) fresh.Delete(id);
        ClsBooking rec;
        ASSERT_EQ(rec.Load(kept), Loaded::Row);
        rec.setResourceId(c.res);
        rec.setTaskId(c.task);
        rec.setCustomerId(c.customer);
        rec.setBookingStart(c.start);
        rec.setBookingEnd(c.start + 60);
        EXPECT_EQ(rec.Save() != 0, c.why == Why::None) << c.what;
        EXPECT_EQ(rec.LastRefusal(), c.why) << c.what;
        EXPECT_EQ(orphans(), 0) << c.what;
        ASSERT_TRUE(
            dao().SqlAction("update tblBookings set ResourceId = 1, TaskId = 1, "
                            "CustomerId = 0, BookingStart = 600, BookingEnd = 660 "
                            "where BookingId = ?",
                            {kept}));
    }
}

TEST_F(ClsBookingTest, NewIdsAreTheRowsOwnAndNeverReused) {
    const int32_t a = book(1, kDay, 600, 660);
    const int32_t b = book(2, kDay, 600, 660);  // same day and times, another resource
    EXPECT_GT(b, a);
    ClsBooking rec;
    ASSERT_EQ(rec.Load(a), Loaded::Row);
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
    again.setTaskId(1);
    const int32_t d = again.Save();
    EXPECT_EQ(again.Save(), d);
    EXPECT_EQ(count(), 3);
}

TEST_F(ClsBookingTest, LoadStopsAtANullColumnAndKeepsTheBufferForAMissingRow) {
    const int32_t a = book(4, kDay, 600, 660, 7);
    ASSERT_TRUE(dao().SqlAction(QString("update tblBookings set Ref01 = null where BookingId = %1").arg(a)));
    ClsBooking rec;
    rec.setTaskId(55);
    EXPECT_EQ(rec.Load(a), Loaded::NoRow);
    EXPECT_EQ(rec.BookingStart(), 600);  // copied before the null
    EXPECT_EQ(rec.TaskId(), 55);         // not reached
    EXPECT_TRUE(folder.logText().contains("ClsBooking.Load: Error 94 on line "));
    EXPECT_EQ(rec.Load(a + 100), Loaded::NoRow);
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
    ClsBooking rec;
    EXPECT_EQ(rec.BookingCheck(kDay, kDay + 5, 1), 0);
    const int32_t a = book(1, kDay, 540, 600);
    const int32_t b = book(1, kDay + 5, 600, 690);  // on the last day of the range
    QSet<int32_t> seen;
    auto take = [&](const char* what) {
        const int32_t f = rec.BookingCheck(kDay, kDay + 5, 1).value_or(0);
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
    EXPECT_TRUE(seen.contains(rec.BookingCheck(kDay, kDay + 5, 1).value_or(0)));
    EXPECT_NE(rec.BookingCheck(kDay, kDay + 5, 1), start);
}

// Under another program's lock the fingerprint is unread, and its failure logged once.
TEST_F(ClsBookingTest, TheFingerprintUnderALockIsUnreadAndItsFailureLoggedOnce) {
    dao().setBusyWaitMs(200);
    HeldDatabase holder(folder, dbPath());
    const qsizetype from = folder.logText().size();
    EXPECT_EQ(ClsBooking().BookingCheck(kDay, kDay, 1), std::nullopt);
    const QString log = folder.logText().mid(from);
    EXPECT_EQ(log.count('\n'), 2) << log.toStdString();  // the query's line, its statement's
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

namespace {
// A saver's turns at an editor's pace, until three turns after `goneSql` (a count of the
// doomed row `id`) first counts none, or 140 turns. Each turn gets a new booking on `day`,
// ten minutes at i * 10; a turn that returns false stops them, and false is returned.
bool savesUntilGone(const QString& goneSql, int32_t id, int32_t day,
                    const std::function<bool(int, ClsBooking&)>& turn) {
    int gone = -1;
    for (int i = 0; i < 140 && (gone < 0 || i - gone < 3); ++i) {
        auto rs = SharedObjects::DAO().SqlQuery(goneSql, {id});
        if (gone < 0 && rs && rs->Field(0).toInt() == 0) gone = i;
        QThread::msleep(10);  // an editor's pace, not a lock held for ever
        ClsBooking b;
        b.setBookingDate(day);
        b.setBookingStart(static_cast<int16_t>(i * 10));
        b.setBookingEnd(static_cast<int16_t>(i * 10 + 10));
        if (!turn(i, b)) return false;
    }
    return true;
}
}  // namespace

// A workstation whose editor is open on a group that another one deletes. On each
// "go <group> <its resource> <its type> <kept resource> <kept type> <day>" it saves in a
// loop, a slot a time: a new booking onto the doomed resource, one onto the doomed type,
// and one onto kept ones that it then moves onto the doomed resource. It goes on until
// three turns after it sees the group gone. Answers with the number of saves onto the
// doomed group reported good, of those refused, and the ids that must still be stored.
ROSTIMA_CHILD(doomed_group_saver) {
    plat::SetAppExeNameForTest(args[1]);
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    for (QString go = ChildHear(); go.startsWith("go"); go = ChildHear()) {
        const QStringList v = go.split(' ');
        const int32_t group = v[1].toInt(), resource = v[2].toInt(), task = v[3].toInt();
        const int32_t keptResource = v[4].toInt(), keptTask = v[5].toInt(), day = v[6].toInt();
        int good = 0, refused = 0;
        QStringList kept;
        auto save = [&](ClsBooking& b) {
            const bool saved = b.Save() != 0;
            ++(saved ? good : refused);
            return saved;
        };
        const bool honest = savesUntilGone(
            "select count(*) from tblGroups where GroupId = ?", group, day,
            [&](int i, ClsBooking& b) {
                b.setResourceId(i % 3 == 0 ? resource : keptResource);
                b.setTaskId(i % 3 == 1 ? task : keptTask);
                if (i % 3 != 2) {
                    save(b);
                } else if (b.Save() == 0) {
                    return false;  // nothing of the doomed group in it: never refused
                } else {
                    b.setResourceId(resource);
                    if (!save(b)) kept << QString::number(b.BookingId());
                }
                return true;
            });
        if (!honest) return 2;
        ChildSay(QString("%1 %2 %3").arg(good).arg(refused).arg(kept.join(',')));
    }
    dao.DbClose();
    return 0;
}

TEST_F(ClsBookingTest, SavesWhileAnotherWorkstationDeletesTheGroupStoreNothingOnItsRemains) {
    ChildProcess saver(folder, "doomed_group_saver",
                       {dbPath(), folder.exeName() + "_saver"});
    const auto lastId = [&] { return static_cast<int32_t>(dao().LastInsertId()); };
    ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('Kept')"));
    ASSERT_TRUE(dao().SqlAction("insert into tblTasks (GroupId, TaskName) values (?, 'K')",
                                {lastId()}));
    const int32_t keptTask = lastId();
    int good = 0, refused = 0;
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        const int32_t day = kDay + 100 + round;
        ASSERT_TRUE(dao().SqlAction("insert into tblGroups (GroupName) values ('Doomed')"));
        const int32_t group = lastId();
        ASSERT_TRUE(dao().SqlAction("insert into tblResources (GroupId, ResourceName) "
                                    "values (?, 'D')", {group}));
        const int32_t resource = lastId();
        ASSERT_TRUE(dao().SqlAction("insert into tblTasks (GroupId, TaskName) values (?, 'D')",
                                    {group}));
        const int32_t task = lastId();
        saver.say(QString("go %1 %2 %3 1 %4 %5")  // resource 1 stays
                      .arg(group).arg(resource).arg(task).arg(keptTask).arg(day));
        // The delete falls at a different point of the saver's loop each round.
        QThread::msleep(round % 8 * 6);
        ClsGroup().Delete(group);
        const QStringList said = saver.readLine().split(' ');
        ASSERT_GE(said.size(), 2);
        good += said[0].toInt();
        refused += said[1].toInt();
        EXPECT_EQ(orphans(), 0);
        // Every save reported good onto what stays is stored, and nothing else is.
        const QStringList kept = said.value(2).split(',', Qt::SkipEmptyParts);
        expectOnly(day, kept, QString("ResourceId = 1 and TaskId = %1").arg(keptTask));
    }
    // Saves landed on both sides of the deletes.
    EXPECT_GT(good, 0);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(saver.finish(), 0);
}

// A workstation whose editor saves for a customer that another one deletes. On each
// "go <customer> <day>" it saves a slot a time: a new booking for the customer, or one
// without a customer that it then changes to the customer. It goes on until three turns
// after it sees the customer gone. Answers with the saves for the customer reported good,
// those refused, those refused for another reason than the customer gone, and the ids of
// the bookings without a customer that must still be stored.
ROSTIMA_CHILD(doomed_customer_saver) {
    plat::SetAppExeNameForTest(args[1]);
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    for (QString go = ChildHear(); go.startsWith("go"); go = ChildHear()) {
        const int32_t customer = go.section(' ', 1, 1).toInt();
        const int32_t day = go.section(' ', 2, 2).toInt();
        int good = 0, refused = 0, misnamed = 0;
        QStringList kept;
        const bool honest = savesUntilGone("select count(*) from tblCustomers where CustomerId = ?",
                                           customer, day, [&](int i, ClsBooking& b) {
                                               b.setResourceId(1);
                                               b.setTaskId(1);
                                               if (i % 2 == 0 && b.Save() == 0)
                                                   return false;  // no customer: never refused
                                               b.setCustomerId(customer);
                                               if (b.Save() != 0) {
                                                   ++good;
                                                   return true;
                                               }
                                               ++refused;
                                               misnamed +=
                                                   b.LastRefusal() != ClsBooking::Refusal::Gone;
                                               if (i % 2 == 0)
                                                   kept << QString::number(b.BookingId());
                                               return true;
                                           });
        if (!honest) return 2;
        ChildSay(QString("%1 %2 %3 %4").arg(good).arg(refused).arg(misnamed).arg(kept.join(',')));
    }
    dao.DbClose();
    return 0;
}

TEST_F(ClsBookingTest, SavesForACustomerAnotherWorkstationDeletesStoreNoneThatNamesIt) {
    ChildProcess saver(folder, "doomed_customer_saver", {dbPath(), folder.exeName() + "_saver"});
    int good = 0, refused = 0;
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        const int32_t day = kDay + 100 + round;
        const int32_t doomed = customer("Roomy Ltd");
        ASSERT_TRUE(dao().SqlAction(
            "insert into tblCustomerGroups (CustomerId, GroupId) values (?, 1)", {doomed}));
        saver.say(QString("go %1 %2").arg(doomed).arg(day));
        // The delete falls at a different point of the saver's loop each round.
        QThread::msleep(round % 8 * 6);
        ClsCustomer().Delete(doomed);
        const QStringList said = saver.readLine().split(' ');
        ASSERT_GE(said.size(), 3);
        good += said[0].toInt();
        refused += said[1].toInt();
        EXPECT_EQ(said[2], "0");  // every refusal said the customer was gone
        EXPECT_EQ(orphans(), 0);
        // The delete took the customer's bookings; every other one reported good stands.
        const QStringList kept = said.value(3).split(',', Qt::SkipEmptyParts);
        expectOnly(day, kept, "CustomerId = 0");
    }
    EXPECT_GT(good, 0);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(saver.finish(), 0);
}

// A workstation's editor on one booking: "load <id>" takes it up, "save <comment>" saves
// it with that comment. Answers "loaded", or the id saved and why not (0 and the reason).
ROSTIMA_CHILD(booking_editor) {
    plat::SetAppExeNameForTest(args[1]);
    ClsDAO& dao = SharedObjects::DAO();
    if (dao.DbOpen(args[0]) != 0) return 1;
    ClsBooking b;
    for (QString line = ChildHear(); !line.isEmpty(); line = ChildHear()) {
        const QString value = line.section(' ', 1);
        if (line.startsWith("load")) {
            ChildSay(b.Load(value.toInt()) == Loaded::Row ? "loaded" : "missing");
        } else {
            b.setComments(value);
            const int32_t id = b.Save();
            ChildSay(QString("%1 %2").arg(id).arg(static_cast<int>(b.LastRefusal())));
        }
    }
    dao.DbClose();
    return 0;
}

TEST_F(ClsBookingTest, ASaveOverAChangeAnotherWorkstationMadeSinceTheLoadIsRefused) {
    ChildProcess editor(folder, "booking_editor", {dbPath(), folder.exeName() + "_editor"});
    const int32_t smith = customer("Smith");
    auto refused = [](ClsBooking::Refusal why) {
        return QString("0 %1").arg(static_cast<int>(why));
    };
    struct Case {
        const char* what;
        std::function<void(ClsBooking&)> change;
        QString stands;  // what the stored row holds afterwards; empty: it is gone
    } cases[] = {
        {"its end", [](ClsBooking& b) { b.setBookingEnd(600); }, "BookingEnd = 600"},
        {"its start", [](ClsBooking& b) { b.setBookingStart(510); }, "BookingStart = 510"},
        {"its day", [](ClsBooking& b) { b.setBookingDate(kDay - 1); }, "BookingDate = 45999"},
        {"its resource", [](ClsBooking& b) { b.setResourceId(2); }, "ResourceId = 2"},
        {"its type", [](ClsBooking& b) { b.setTaskId(2); }, "TaskId = 2"},
        {"its customer", [&](ClsBooking& b) { b.setCustomerId(smith); },
         QString("CustomerId = %1").arg(smith)},
        {"reference 1", [](ClsBooking& b) { b.setRef01("theirs"); }, "Ref01 = 'theirs'"},
        {"reference 2", [](ClsBooking& b) { b.setRef02("theirs"); }, "Ref02 = 'theirs'"},
        {"reference 3", [](ClsBooking& b) { b.setRef03("theirs"); }, "Ref03 = 'theirs'"},
        {"its series", [](ClsBooking& b) { b.setRepeatId(7); }, "RepeatId = 7"},
        {"its comment", [](ClsBooking& b) { b.setComments("theirs"); }, "Comments = 'theirs'"},
        {"deleted", [](ClsBooking& b) { b.Delete(b.BookingId()); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dao().SqlAction("delete from tblBookings");
        const int32_t id = book(1, kDay, 540, 570);
        editor.say(QString("load %1").arg(id));
        ASSERT_EQ(editor.readLine(), "loaded");
        ClsBooking other;
        ASSERT_EQ(other.Load(id), Loaded::Row);
        c.change(other);
        if (!c.stands.isEmpty()) {
            ASSERT_EQ(other.Save(), id);
        }
        editor.say("save mine");
        EXPECT_EQ(editor.readLine(), refused(c.stands.isEmpty() ? ClsBooking::Refusal::Deleted
                                                                : ClsBooking::Refusal::Changed));
        const QString row =
            QString("select count(*) from tblBookings where BookingId = %1").arg(id);
        if (c.stands.isEmpty()) {
            EXPECT_EQ(scalar(row), 0);
            continue;
        }
        EXPECT_EQ(scalar(row + " and Comments <> 'mine' and " + c.stands), 1);
        // Taken up again, the booking saves over what is stored now.
        editor.say(QString("load %1").arg(id));
        ASSERT_EQ(editor.readLine(), "loaded");
        editor.say("save mine");
        EXPECT_EQ(editor.readLine(), QString("%1 0").arg(id));
        EXPECT_EQ(scalar(row + " and Comments = 'mine' and " +
                         (c.stands.startsWith("Comments") ? "1 = 1" : c.stands)),
                  1);
    }
    EXPECT_EQ(editor.finish(), 0);
}

// Another program holds the database locked all the while: the save says that the write
// failed after one busy wait (10 s), without asking why and waiting again for each question.
TEST_F(ClsBookingTest, ASaveTheLockedDatabaseCannotTakeSaysSoAfterOneBusyWait) {
    const int32_t id = book(1, kDay, 600, 660);
    ClsBooking rec;
    ASSERT_EQ(rec.Load(id), Loaded::Row);
    rec.setComments("mine");
    HeldDatabase holder(folder, dbPath());
    ASSERT_TRUE(holder.held());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(rec.Save(), 0);
    const qint64 waited = clock.elapsed();
    holder.release();
    EXPECT_EQ(rec.LastRefusal(), ClsBooking::Refusal::Failed);
    EXPECT_EQ(ClsBooking::RefusalText(rec.LastRefusal()),
              "The database is busy or cannot be written; nothing was saved.");
    EXPECT_GE(waited, 9000);
    EXPECT_LT(waited, 18000);
    EXPECT_EQ(rec.Save(), id);  // once the lock is gone the same record saves
}
