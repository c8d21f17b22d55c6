#include <gtest/gtest.h>

#include <QObject>
#include <functional>
#include <optional>

#include "DbFixture.h"
#include "ModMain.h"
#include "MsgBox.h"
#include "ReadAgain.h"
#include "YieldWatch.h"

namespace {

// A part of a window that reads the groups, letting window events run first, as a long
// fill does; message boxes are answered OK and recorded as "title: text".
class ReadAgainTest : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        open();
        dao().setBusyWaitMs(200);
        plat::SetMsgBoxHook([this](const QString& text, int, const QString& title) {
            messages << title + ": " + text;
            return plat::vbOK;
        });
    }
    void TearDown() override {
        plat::SetMsgBoxHook(nullptr);
        dao().setBusyWaitMs(ClsDAO::kBusyWaitMs);
        dao().DbClose();
        DbFixture::TearDown();
    }
    bool read() {
        EventYield::Run();
        return dao().SqlQuery("select count(*) from tblGroups") != nullptr;
    }

    QStringList messages;
    QObject window;
    ReadAgain part{&window, [this] { return read(); }};
};

}  // namespace

// Another program holds the database. The read again that the part's own timer runs is
// nobody's command: it tells nobody and holds the user's clicks and keys while it yields,
// with no scope of the caller's own around it. The same read the user asks for is told,
// once, and lets the user's input through. Either way the part stays unread, and is read
// again shortly; once the lock is gone the read that is due reads it, quietly.
TEST_F(ReadAgainTest, TheReadItsTimerRunsTellsNobodyAndHoldsInputWhileTheUsersReadIsTold) {
    YieldWatch yields;
    std::optional<HeldDatabase> held;
    held.emplace(folder, dbPath());
    ASSERT_TRUE(held->held());
    const struct Case {
        const char* who;
        std::function<void()> run;
        QStringList told;
        std::string input;
    } cases[] = {
        {"its timer", [&] { part.RunDue(); }, {}, "held"},
        {"the user",
         [&] { EXPECT_FALSE(part.Read()); },
         {QString("Warning!: ") + ModMain::kNotRead},
         "let through"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.who);
        dao().WaitAgain();  // a spell of its own, never told yet
        messages.clear();
        c.run();
        EXPECT_EQ(messages, c.told);
        EXPECT_EQ(yields.Take(), c.input);
        EXPECT_TRUE(part.Unread());
        EXPECT_TRUE(part.Due());
        EXPECT_FALSE(ModMain::Unattended::Active());
    }
    held.reset();
    messages.clear();
    part.RunDue();
    EXPECT_FALSE(part.Unread());
    EXPECT_FALSE(part.Due());
    EXPECT_TRUE(messages.isEmpty());
}
