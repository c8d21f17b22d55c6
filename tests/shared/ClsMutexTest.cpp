#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

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

TEST(ClsMutex, AFreeNameIsHeldAtOnceAndFreedByDeleteMutex) {
    TempProgramFolder folder;
    ClsMutex a;
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(a.GetMutex("Free", true, 10000));
    EXPECT_LT(t.elapsed(), 95);  // no sleep of 100 ms
    EXPECT_EQ(a.heldName(), "Free");
    a.DeleteMutex();
    EXPECT_EQ(a.heldName(), "");
    ClsMutex b;
    EXPECT_TRUE(b.GetMutex("Free", true, 0));
}

TEST(ClsMutex, IsNotReentrantWithinOneProcess) {
    TempProgramFolder folder;
    ClsMutex a, b;
    ASSERT_TRUE(a.GetMutex("Same", true, 0));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(b.GetMutex("Same", true, 150));  // two attempts, one sleep
    EXPECT_GE(t.elapsed(), 95);
    EXPECT_LT(t.elapsed(), 290);  // not a second sleep
}

TEST(ClsMutex, WaitForZeroTriesOnceAndNegativeNotAtAll) {
    TempProgramFolder folder;
    ClsMutex holder, other, free;
    ASSERT_TRUE(holder.GetMutex("Zero", true, 0));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(other.GetMutex("Zero", true, 0));
    EXPECT_LT(t.elapsed(), 95);  // no sleep
    EXPECT_FALSE(free.GetMutex("NeverTaken", true, -1));
    // The failed attempts did not keep the name alive: once released it is free.
    holder.DeleteMutex();
    EXPECT_TRUE(other.GetMutex("Zero", true, 0));
}

TEST(ClsMutex, DestructionReleasesOnlyWhenAskedTo) {
    TempProgramFolder folder;
    { ClsMutex m; ASSERT_TRUE(m.GetMutex("Auto", true, 0)); }
    ClsMutex after;
    EXPECT_TRUE(after.GetMutex("Auto", true, 0));

    auto* kept = new ClsMutex;
    ASSERT_TRUE(kept->GetMutex("Kept", false, 0));
    delete kept;
    ClsMutex blocked;
    EXPECT_FALSE(blocked.GetMutex("Kept", true, 0));
}

TEST(ClsMutex, DeleteMutexOnAFreeObjectLeavesOtherHoldersAlone) {
    TempProgramFolder folder;
    ClsMutex holder, idle;
    ASSERT_TRUE(holder.GetMutex("Mine", true, 0));
    idle.DeleteMutex();
    ClsMutex probe;
    EXPECT_FALSE(probe.GetMutex("Mine", true, 0));
}

TEST(ClsMutex, ASecondProcessWaitsForTheHolderAndGetsItOnRelease) {
    TempProgramFolder folder;
    ChildProcess child(folder, "hold_lock", {"Shared"});
    ASSERT_EQ(child.readLine(), "held");
    ClsMutex m;
    EXPECT_FALSE(m.GetMutex("Shared", true, 200));
    child.say("release");
    ASSERT_EQ(child.readLine(), "released");
    EXPECT_TRUE(m.GetMutex("Shared", true, 1000));
    // ...and now the lock is ours, so a new holder is refused.
    ChildProcess second(folder, "hold_lock", {"Shared"});
    EXPECT_EQ(second.readLine(), "refused");
}

TEST(ClsMutex, AKilledHolderDoesNotBlockTheNextOne) {
    TempProgramFolder folder;
    ChildProcess child(folder, "hold_lock", {"Killed"});
    ASSERT_EQ(child.readLine(), "held");
    child.kill();
    ClsMutex m;
    EXPECT_TRUE(m.GetMutex("Killed", true, 0));
}

TEST(ClsMutex, ALockThatCannotBeMadeCountsAsHeldAndIsLogged) {
    TempProgramFolder folder;
    QFile blocker(folder.file("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    plat::SetLockFolderForTest(folder.file("not-a-folder"));
    ClsMutex m;
    const bool held = m.GetMutex("Broken", true, 0);
    plat::SetLockFolderForTest(QString());
    EXPECT_TRUE(held);
    EXPECT_TRUE(folder.logText().contains("ClsMutex.GetMutex: Error "));
}
