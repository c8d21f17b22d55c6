#include <gtest/gtest.h>

#include <QSet>

#include "RunRandom.h"
#include "TestSupport.h"

namespace {
// A run's seed, taken when the parent says so.
ROSTIMA_CHILD(seed_taker) {
    ChildSay("ready");
    ChildHear();
    ChildSay(QString::number(RunRandom::ClockSeed()));
    return 0;
}
}  // namespace

TEST(RunRandom, DrawsLieInZeroToOneAndWholeNumbersBelowNInZeroToNMinusOne) {
    RunRandom random(12345);
    QSet<int32_t> seen;
    for (int i = 0; i < 20000; ++i) {
        const float r = random.Draw();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        const int32_t n = random.Below(7);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 7);
        seen << n;
        ASSERT_EQ(random.Below(0), 0);
        ASSERT_LT(random.Below(32767), 32767);
    }
    EXPECT_EQ(seen.size(), 7);
}

TEST(RunRandom, ProgramsStartedInTheSameSecondSeedTheirRunsDifferently) {
    TempProgramFolder folder;
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (int i = 0; i < 4; ++i)
        children.push_back(std::make_unique<ChildProcess>(folder, "seed_taker"));
    for (auto& c : children) ASSERT_EQ(c->readLine(), "ready");
    for (auto& c : children) c->say("go");
    QSet<QString> seeds;
    for (auto& c : children) seeds << c->readLine();
    seeds << QString::number(RunRandom::ClockSeed()) << QString::number(RunRandom::ClockSeed());
    EXPECT_EQ(seeds.size(), 6);
    EXPECT_FALSE(seeds.contains(""));
}
