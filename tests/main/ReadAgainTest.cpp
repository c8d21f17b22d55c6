#include <gtest/gtest.h>

#include "DbFixture.h"
#include "EventYield.h"
#include "ModMain.h"
#include "MsgBox.h"
#include "ReadAgain.h"

using ReadAgainTest = DbFixture;

// Another program holds the database. The read again that the part's own timer runs is
// nobody's command: it tells nobody. The same read the user asks for is told, once. Either
// way the part stays unread, and is read again shortly.
TEST_F(ReadAgainTest, TheReadItsTimerRunsTellsNobodyWhileTheUsersReadIsTold) {
    open();
    QStringList told, whileTold;
    RecordWhileTold(told, whileTold, [] { return QString(); });
    ReadAgain part(nullptr, [&] {
        EventYield::Run();  // as a long fill lets window events run
        return dao().SqlQuery("select count(*) from tblGroups") != nullptr;
    });
    const HeldDatabase held(folder, dbPath());
    dao().setBusyWaitMs(200);
    for (const bool user : {false, true}) {
        SCOPED_TRACE(user ? "the user's" : "its timer's");
        dao().WaitAgain();  // a spell of its own, never told yet
        told.clear();
        user ? void(part.Read()) : part.RunDue();
        EXPECT_EQ(told, user ? QStringList{ModMain::kNotRead} : QStringList{});
        EXPECT_TRUE(part.Unread() && part.Due());
    }
    plat::SetMsgBoxHook(nullptr);
    dao().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
