#include <gtest/gtest.h>
#include <poll.h>

#include <QElapsedTimer>
#include <QFile>
#include <chrono>
#include <thread>

#include "ClsMutex.h"
#include "NamedObject.h"
#include "TestSupport.h"

ROSTIMA_CHILD(hold_lock) {
    ClsMutex m;
    ChildSay(m.GetMutex(args[0], true, 0) ? "held" : "refused");
    ChildHear();  // hold until told (or killed)
    m.DeleteMutex();
    ChildSay("released");
    return 0;
}

// Holds the name nearly all the time: keeps it 50 ms, lets it go and asks for it again at
// once, until told to stop; then says how often it had it again.
ROSTIMA_CHILD(churn_lock) {
    ClsMutex m;
    if (!m.GetMutex(args[0], true, 0)) return 1;
    ChildSay("held");
    int again = 0;
    for (pollfd in{0, POLLIN, 0}; poll(&in, 1, 0) == 0; ++again) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m.DeleteMutex();
        if (!m.GetMutex(args[0], true, 10000)) return 1;
    }
    m.DeleteMutex();
    ChildSay(QString::number(again));
    return 0;
}

TEST(ClsMutex, AFreeNameIsHeldAtOnceAndFreedByDeleteMutex) {
    TempProgramFolder folder;
    ClsMutex a;
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(a.GetMutex(folder.exeName() + "Free", true, 10000));
    EXPECT_LT(t.elapsed(), 95);  // no sleep of 100 ms
    EXPECT_EQ(a.heldName(), folder.exeName() + "Free");
    a.DeleteMutex();
    EXPECT_EQ(a.heldName(), "");
    ClsMutex b;
    EXPECT_TRUE(b.GetMutex(folder.exeName() + "Free", true, 0));
}

TEST(ClsMutex, IsNotReentrantWithinOneProcess) {
    TempProgramFolder folder;
    ClsMutex a, b;
    ASSERT_TRUE(a.GetMutex(folder.exeName() + "Same", true, 0));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(b.GetMutex(folder.exeName() + "Same", true, 150));
    EXPECT_GE(t.elapsed(), 145);
    EXPECT_LT(t.elapsed(), 290);  // the wait ends at its limit
}

TEST(ClsMutex, WaitForZeroTriesOnceAndNegativeNotAtAll) {
    TempProgramFolder folder;
    ClsMutex holder, other, free;
    ASSERT_TRUE(holder.GetMutex(folder.exeName() + "Zero", true, 0));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(other.GetMutex(folder.exeName() + "Zero", true, 0));
    EXPECT_LT(t.elapsed(), 95);  // no sleep
    EXPECT_FALSE(free.GetMutex(folder.exeName() + "NeverTaken", true, -1));
    // The failed attempts did not keep the name alive: once released it is free.
    holder.DeleteMutex();
    EXPECT_TRUE(other.GetMutex(folder.exeName() + "Zero", true, 0));
}

TEST(ClsMutex, DestructionReleasesOnlyWhenAskedTo) {
    TempProgramFolder folder;
    {
        ClsMutex m;
        ASSERT_TRUE(m.GetMutex(folder.exeName() + "Auto", true, 0));
    }
    ClsMutex after;
    EXPECT_TRUE(after.GetMutex(folder.exeName() + "Auto", true, 0));

    auto* kept = new ClsMutex;
    ASSERT_TRUE(kept->GetMutex(folder.exeName() + "Kept", false, 0));
    delete kept;
    ClsMutex blocked;
    EXPECT_FALSE(blocked.GetMutex(folder.exeName() + "Kept", true, 0));
}

TEST(ClsMutex, DeleteMutexOnAFreeObjectLeavesOtherHoldersAlone) {
    TempProgramFolder folder;
    ClsMutex holder, idle;
    ASSERT_TRUE(holder.GetMutex(folder.exeName() + "Mine", true, 0));
    idle.DeleteMutex();
    ClsMutex probe;
    EXPECT_FALSE(probe.GetMutex(folder.exeName() + "Mine", true, 0));
}

TEST(ClsMutex, ASecondProcessWaitsForTheHolderAndGetsItOnRelease) {
    TempProgramFolder folder;
    ChildProcess child(folder, "hold_lock", {folder.exeName() + "Shared"});
    ASSERT_EQ(child.readLine(), "held");
    ClsMutex m;
    EXPECT_FALSE(m.GetMutex(folder.exeName() + "Shared", true, 200));
    child.say("release");
    ASSERT_EQ(child.readLine(), "released");
    EXPECT_TRUE(m.GetMutex(folder.exeName() + "Shared", true, 1000));
    // ...and now the lock is ours, so a new holder is refused.
    ChildProcess second(folder, "hold_lock", {folder.exeName() + "Shared"});
    EXPECT_EQ(second.readLine(), "refused");
}

// A waiter looking again now and then would find the name held nearly every time; it
// waits in turn instead, and the holder that asks again at once comes after it.
TEST(ClsMutex, AWaiterHasItsTurnBeforeAHolderThatLetsGoAndAsksAgainAtOnce) {
    TempProgramFolder folder;
    ChildProcess child(folder, "churn_lock", {folder.exeName() + "Busy"});
    ASSERT_EQ(child.readLine(), "held");
    for (int turn = 0; turn < 5; ++turn) {
        ClsMutex m;
        EXPECT_TRUE(m.GetMutex(folder.exeName() + "Busy", true, 1000)) << turn;
        m.DeleteMutex();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the holder's again
    }
    child.say("stop");
    EXPECT_GT(child.readLine().toInt(), 0);  // and it had its turns meanwhile
    EXPECT_EQ(child.finish(), 0);
}

TEST(ClsMutex, AKilledHolderDoesNotBlockTheNextOne) {
    TempProgramFolder folder;
    ChildProcess child(folder, "hold_lock", {folder.exeName() + "Killed"});
    ASSERT_EQ(child.readLine(), "held");
    child.kill();
    ClsMutex m;
    EXPECT_TRUE(m.GetMutex(folder.exeName() + "Killed", true, 0));
}

TEST(ClsMutex, ALockThatCannotBeMadeCountsAsHeldAndIsLogged) {
    TempProgramFolder folder;
    QFile blocker(folder.file("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    plat::SetLockFolderForTest(folder.file("not-a-folder"));
    ClsMutex m;
    const bool held = m.GetMutex(folder.exeName() + "Broken", true, 0);
    plat::SetLockFolderForTest(QString());
    EXPECT_TRUE(held);
    EXPECT_TRUE(folder.logText().contains("ClsMutex.GetMutex: Error "));
}
