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

// A program of its own name (so its log lock is its own), writing a burst of long lines
// once told to go.
ROSTIMA_CHILD(log_burst) {
    plat::SetAppExeNameForTest(args[1]);
    ClsLogging log;
    log.setHwnd(args[0].toInt());
    const QString payload(3000, QChar('a' + args[0].toInt()));
    ChildSay("ready");
    ChildHear();
    for (int i = 0; i < 300; ++i) log.LogMsg(payload);
    return 0;
}

TEST(ClsLogging, DifferentProgramsWritingAtOnceNeverTearOrLoseALine) {
    TempProgramFolder folder;
    std::vector<std::unique_ptr<ChildProcess>> programs;
    for (int p = 1; p <= 3; ++p)
        programs.push_back(std::make_unique<ChildProcess>(
            folder, "log_burst",
            QStringList{QString::number(p), folder.exeName() + "_prog" + QString::number(p)}));
    for (auto& p : programs) ASSERT_EQ(p->readLine(), "ready");
    for (auto& p : programs) p->say("go");
    for (auto& p : programs) ASSERT_EQ(p->finish(), 0);
    QStringList lines = folder.logText().split('\n');
    ASSERT_EQ(lines.takeLast(), "");
    EXPECT_EQ(lines.size(), 900);
    const QRegularExpression whole("^\\d{6} 0000000([123]) (b{3000}|c{3000}|d{3000})$");
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
