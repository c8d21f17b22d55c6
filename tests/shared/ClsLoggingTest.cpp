#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "AppInfo.h"
#include "ClsLogging.h"
#include "ClsMutex.h"
#include "SharedObjects.h"
#include "TestSupport.h"

TEST(ClsLogging, LinesCarryTimeAndTheHandleAsEightUpperCaseHexDigits) {
    TempProgramFolder folder;
    ClsLogging log;
    log.LogMsg("before");
    log.setHwnd(0x1A2B);
    log.LogMsg("after");
    log.setHwnd(-2);
    log.LogMsg("two\nlines");
    const QStringList lines = folder.logText().split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(QRegularExpression("^\\d{6} 00000000 before$").match(lines[0]).hasMatch());
    EXPECT_TRUE(QRegularExpression("^\\d{6} 00001A2B after$").match(lines[1]).hasMatch());
    EXPECT_TRUE(QRegularExpression("^\\d{6} FFFFFFFE two$").match(lines[2]).hasMatch());
    EXPECT_EQ(lines[3], "lines");
    EXPECT_EQ(ClsLogging::TodaysFile(), folder.file("Error" +
                                                    QDate::currentDate().toString("yyyyMMdd") +
                                                    ".txt"));
}

ROSTIMA_CHILD(log_burst) {
    ClsLogging log;
    log.setHwnd(args[0].toInt());
    const QString payload(300, QChar('a' + args[0].toInt()));
    for (int i = 0; i < 200; ++i) log.LogMsg(payload);
    return 0;
}

TEST(ClsLogging, TwoProcessesWritingAtOnceNeverTearALine) {
    TempProgramFolder folder;
    ChildProcess a(folder, "log_burst", {"1"});
    ChildProcess b(folder, "log_burst", {"2"});
    ASSERT_EQ(a.finish(), 0);
    ASSERT_EQ(b.finish(), 0);
    QStringList lines = folder.logText().split('\n');
    ASSERT_EQ(lines.takeLast(), "");
    ASSERT_EQ(lines.size(), 400);
    const QRegularExpression whole("^\\d{6} 0000000([12]) (b{300}|c{300})$");
    for (const QString& l : lines) {
        const auto m = whole.match(l);
        ASSERT_TRUE(m.hasMatch()) << l.left(40).toStdString();
        EXPECT_EQ(m.captured(2).front(), QChar('a' + m.captured(1).toInt()));
    }
}

TEST(ClsLogging, ALineIsDroppedWhenTheLogLockStaysTaken) {
    TempProgramFolder folder;
    ClsMutex held;
    ASSERT_TRUE(held.GetMutex(folder.exeName() + "_Log.LogMsg", true, 0));
    ClsLogging log;
    log.LogMsg("lost");  // waits its 5 s, then goes on
    held.DeleteMutex();
    log.LogMsg("kept");
    EXPECT_FALSE(folder.logText().contains("lost"));
    EXPECT_TRUE(folder.logText().contains("kept"));
}

TEST(ClsLogging, AFolderThatCannotBeWrittenLosesTheLineQuietly) {
    TempProgramFolder folder;
    plat::SetAppPathForTest(folder.file("gone"));  // no such folder: nothing can be created
    ClsLogging log;
    log.LogMsg("nowhere");
    EXPECT_FALSE(QFile::exists(ClsLogging::TodaysFile()));
    plat::SetAppPathForTest(folder.path());
    log.LogMsg("somewhere");
    EXPECT_TRUE(folder.logText().contains("somewhere"));
}
