#include <gtest/gtest.h>

#include "DbFixture.h"
#include "ModMain.h"
#include "MsgBox.h"
#include "ReadAgain.h"
#include "YieldWatch.h"

using ReadAgainTest = DbFixture;

// Another program holds the database. The read again that the part's own timer runs is
// nobody's command: it tells nobody and holds the user's clicks and keys while it yields.
// The same read the user asks for is told, once, and lets them through. Either way the
// part stays unread, and is read again shortly.
TEST_F(ReadAgainTest, TheReadItsTimerRunsTellsNobodyAndHoldsInputWhileTheUsersReadIsTold) {
    open();
    QStringList told, whileTold;
    RecordWhileTold(told, whileTold, [] { return QString(); });
    ReadAgain part(nullptr, [&] {
        EventYield::Run();  // as a long fill lets window events run
        return dao().SqlQuery("select count(*) from tblGroups") != nullptr;
    });
    YieldWatch yields;
    const HeldDatabase held(folder, dbPath());
    dao().setBusyWaitMs(200);
    for (const bool user : {false, true}) {
        SCOPED_TRACE(user ? "the user's" : "its timer's");
        dao().WaitAgain();  // a spell of its own, never told yet
        told.clear();
        yields.seen.clear();
        user ? void(part.Read()) : part.RunDue();
        EXPECT_EQ(told, user ? QStringList{ModMain::kNotRead} : QStringList{});
        EXPECT_EQ(yields.seen, QStringList{user ? "let through" : "held"});
        EXPECT_TRUE(part.Unread() && part.Due());
    }
    plat::SetMsgBoxHook(nullptr);
    dao().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
