#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "ClsCrc32.h"
#include "ClsSystem.h"
#include "ClsTimer.h"
#include "ModMain.h"
#include "MsgBox.h"
#include "SystemInfo.h"
#include "TestSupport.h"

#include <QDir>

TEST(ClsCrc32, KnownValuesOfTextsAndFilesInChunks) {
    TempProgramFolder folder;
    ClsCrc32 crc;
    EXPECT_EQ(crc.StringCRC(""), 0);
    // "abc" runs over a, 0, b, 0, c, 0.
    const QByteArray wide("a\0b\0c\0", 6);
    QFile f(folder.file("abc.bin"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(wide);
    f.close();
    EXPECT_EQ(crc.StringCRC("abc"), crc.FileCRC(folder.file("abc.bin")));
    QFile nine(folder.file("check.txt"));
    ASSERT_TRUE(nine.open(QIODevice::WriteOnly));
    nine.write("123456789");
    nine.close();
    EXPECT_EQ(static_cast<uint32_t>(crc.FileCRC(folder.file("check.txt"))), 0xCBF43926u);
    EXPECT_EQ(crc.FileCRC(folder.file("missing")), 0);
    EXPECT_TRUE(folder.logText().contains("ClsCrc32.FileCRC: Error "));
}

TEST(ClsCrc32, ReadsTheLastChunkWithOneByteMoreThanTheMaximum) {
    TempProgramFolder folder;
    ClsCrc32 crc;
    for (int size : {32768, 32769}) {
        QFile f(folder.file("big.bin"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(size, 'x'));
        f.close();
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray buf;
        QList<int64_t> chunks;
        while (int64_t n = crc.ReadFile(f, buf, 32767)) chunks << n;
        const QList<int64_t> expected = size == 32768 ? QList<int64_t>{32768} : QList<int64_t>{32767, 2};
        EXPECT_EQ(chunks, expected);
    }
}

TEST(ClsCrc32, AFileThatCannotBeReadToItsEndGivesZeroAndSaysSo) {
    // A kernel attribute file: it gives a 4096-byte size but holds only a few bytes.
    const QString file = "/sys/devices/system/cpu/online";
    if (QFileInfo(file).size() <= ReadTestFile(file).size()) GTEST_SKIP() << "no such file here";
    TempProgramFolder folder;
    EXPECT_EQ(ClsCrc32().FileCRC(file), 0);
    EXPECT_TRUE(folder.logText().contains("ClsCrc32.FileCRC: Error "));
}

TEST(ClsTimer, IsZeroUntilStartedAndCountsMilliseconds) {
    ClsTimer t;
    EXPECT_EQ(t.Elapsed().toInt(), 0);
    t.StartTimer();
    QThread::msleep(60);
    const int ms = t.Elapsed().toInt();
    EXPECT_GE(ms, 50);  // a margin for the tick count's whole milliseconds
    EXPECT_LT(ms, 5000);
}

TEST(ClsSystem, FiguresForTheStartUpLog) {
    ClsSystem s;
    EXPECT_GT(s.MemoryStatus(1), 0);  // kilobytes, not a wrapped negative figure
    EXPECT_GE(s.MemoryStatus(0), 0);
    EXPECT_LE(s.MemoryStatus(0), 100);
    EXPECT_EQ(s.MemoryStatus(7), 0);
    EXPECT_EQ(s.MemoryStatus(-1), 0);
    EXPECT_FALSE(s.ServicePack().isEmpty());
    EXPECT_FALSE(s.IsWin95());
}

TEST(ModMain, VersionTextHasTwoDigitMinorAndRevision) {
    EXPECT_EQ(ModMain::VersionNumber(), "1.05.00");
    EXPECT_EQ(ModMain::VersionNumber(1, 12, 3), "1.12.03");
}

TEST(ModMain, MessageBoxesCarryTheirTitlesIconsAndDefaults) {
    QStringList seen;
    plat::SetMsgBoxHook([&](const QString& text, int style, const QString& title) {
        seen << QString("%1|%2|%3").arg(title).arg(style).arg(text);
        return plat::vbNo;
    });
    EXPECT_FALSE(ModMain::Confirm("Delete?"));
    ModMain::Warning("Careful");
    ModMain::CriticalError("Broken");
    plat::SetMsgBoxHook(nullptr);
    EXPECT_EQ(seen, (QStringList{"Confirm|292|Delete?", "Warning!|48|Careful", "Error!|16|Broken"}));
}

TEST(ModMain, RollErrorFilesKeepsTheLastSevenDays) {
    TempProgramFolder folder;
    for (const char* name : {"Error20261201.txt", "Error20261130.txt", "Error.txt",
                             "ErrorNotes.txt", "Error20261208.txt", "Other20200101.txt"}) {
        QFile f(folder.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ModMain::RollErrorFiles(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    QStringList left = QDir(folder.path()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"Error20261201.txt", "Error20261208.txt", "Other20200101.txt"}));
}

TEST(SystemInfo, TheMachineKeyIsTheIdsFirstEightHexDigitsSigned) {
    TempProgramFolder folder;
    QFile f(folder.file("machine-id"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("fedcba9876543210fedcba9876543210\n");
    f.close();
    EXPECT_EQ(plat::MachineKey(folder.file("machine-id")), static_cast<int32_t>(0xfedcba98u));
    EXPECT_EQ(plat::MachineKey(folder.file("none")), 0);
}
