#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include "ProfileFile.h"
#include "TestSupport.h"

namespace {

QString get(const QString& s, const QString& k, const QString& file, const QString& def = "DEF",
            int size = 255) {
    QString out;
    plat::GetPrivateProfileString(s, k, def, out, size, file);
    return out;
}

// Whether a write went through.
bool put(const QString& s, const QString& k, const QString& value, const QString& file) {
    return !plat::WritePrivateProfileString(s, k, value, file).Failed();
}
bool putSection(const QString& s, const plat::ProfileEntries& entries, const QString& file) {
    return !plat::WritePrivateProfileSection(s, entries, file).Failed();
}

const QByteArray kHandWritten =
    "; settings written by hand\r\n"
    "[Config]\r\n"
    "  DbName = \"/data/Rostima.mdb\"  \r\n"
    "UpdateCheck=30\r\n"
    "; a comment line\r\n"
    "Empty=\r\n"
    "\r\n"
    "[OPTIONS]\r\n"
    "UseMilitaryTime = 1\r\n"
    "Quoted='single'\r\n"
    "Half=\"open\r\n";

}  // namespace

// In one read of the file, each value as a read of that key gives it.
TEST(ProfileFile, ASectionIsReadWholeAsItsKeysReadOneByOne) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("hand.ini"), kHandWritten + "[Config]\r\nLater=1\r\n");
    using E = plat::ProfileEntries;
    const struct {
        const char* section;
        E entries;
    } cases[] = {
        {"config", E{{"DbName", "/data/Rostima.mdb"}, {"UpdateCheck", "30"}, {"Empty", ""}}},
        {" OPTIONS ", E{{"UseMilitaryTime", "1"}, {"Quoted", "single"}, {"Half", "\"open"}}},
        {"Missing", E{}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::GetPrivateProfileSection(c.section, "hand.ini"), c.entries) << c.section;
        for (const auto& [key, value] : c.entries)
            EXPECT_EQ(get(c.section, key, "hand.ini"), value);
    }
    EXPECT_EQ(plat::GetPrivateProfileSection("Config", "absent.ini"), E{});
    ASSERT_TRUE(QDir().mkdir(folder.file("folder.ini")));
    EXPECT_EQ(plat::GetPrivateProfileSection("Config", "folder.ini"), std::nullopt);
}

TEST(ProfileFile, ReadsAHandWrittenFileWithoutRegardToCaseBlanksOrQuotes) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("hand.ini"), kHandWritten);
    EXPECT_EQ(get("config", "DBNAME", "hand.ini"), "/data/Rostima.mdb");
    EXPECT_EQ(get("Config", "UpdateCheck", "hand.ini"), "30");
    EXPECT_EQ(get("Options", "usemilitarytime", "hand.ini"), "1");
    EXPECT_EQ(get("Options", "Quoted", "hand.ini"), "single");
    EXPECT_EQ(get("Options", "Half", "hand.ini"), "\"open");  // unpaired quote stays
}

TEST(ProfileFile, PresentEmptyValueIsEmptyAndMissingOnesGiveTheDefault) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("hand.ini"), kHandWritten);
    EXPECT_EQ(get("Config", "Empty", "hand.ini"), "");
    EXPECT_EQ(get("Config", "Nothing", "hand.ini"), "DEF");
    EXPECT_EQ(get("Nowhere", "DbName", "hand.ini"), "DEF");
    EXPECT_EQ(get("Config", "DbName", "missing.ini"), "DEF");
    // A comment is not a key, and a key of another section is not found.
    EXPECT_EQ(get("Config", "; a comment line", "hand.ini"), "DEF");
    EXPECT_EQ(get("Config", "UseMilitaryTime", "hand.ini"), "DEF");
}

TEST(ProfileFile, ReadsAreCutToTheBufferLessItsTerminator) {
    TempProgramFolder folder;
    ASSERT_TRUE(put("S", "Long", QString(300, 'x'), "long.ini"));
    QString out;
    EXPECT_EQ(plat::GetPrivateProfileString("S", "Long", "", out, 255, "long.ini"), 254);
    EXPECT_EQ(out, QString(254, 'x'));
    EXPECT_EQ(plat::GetPrivateProfileString("S", "Long", "", out, 0, "long.ini"), 0);
}

TEST(ProfileFile, WriteReplacesInPlaceAndKeepsEveryOtherLine) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("hand.ini"), kHandWritten);
    ASSERT_TRUE(put("CONFIG", "updatecheck", "45", "hand.ini"));
    QByteArray expected = kHandWritten;
    expected.replace("UpdateCheck=30", "UpdateCheck=45");
    EXPECT_EQ(ReadTestFile(folder.file("hand.ini")), expected);
}

TEST(ProfileFile, NewKeyGoesAfterItsSectionsLastLineAndNewSectionAtTheEnd) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("t.ini"), "[A]\nx=1\n\n[B]\ny=2\n");
    ASSERT_TRUE(put("a", "z", "3", "t.ini"));
    ASSERT_TRUE(put("C", "w", "4", "t.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("t.ini")), "[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n");
}

TEST(ProfileFile, WriteCreatesAMissingFileInTheProgramFolder) {
    TempProgramFolder folder;
    ASSERT_TRUE(put("Config", "DbName", "x.mdb", "New.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("New.ini")), "[Config]\nDbName=x.mdb\n");
    EXPECT_EQ(get("Config", "DbName", folder.file("New.ini")), "x.mdb");
}

TEST(ProfileFile, WriteIntoAFolderThatDoesNotExistReportsFailure) {
    TempProgramFolder folder;
    const auto written = plat::WritePrivateProfileString("S", "K", "V", folder.file("no/x.ini"));
    EXPECT_EQ(written.Why(), plat::WholeFile::Fault::NoFolder);
}

ROSTIMA_CHILD(profile_writer) {
    for (int i = 0; i < 150; ++i)
        if (!put("S", args[0] + QString::number(i), "v", args[1])) return 1;
    return 0;
}

// Also a file whose full path is long and not Latin, which makes a long lock name.
class ProfileFileShared : public ::testing::TestWithParam<bool> {};

TEST_P(ProfileFileShared, TwoProcessesWritingOneFileLoseNoValue) {
    TempProgramFolder folder;
    const QString folders = QString::fromUtf8(
        "\u0417\u0430\u043f\u0438\u0441\u0438 \u0440\u0435\u0433\u0438\u0441\u0442"
        "\u0440\u0430\u0442\u0443\u0440\u044b/\u6771\u4eac\u306e\u4e8b\u52d9\u6240"
        "\u306e\u8a2d\u5b9a/\u03a1\u03c5\u03b8\u03bc\u03af\u03c3\u03b5\u03b9\u03c2 "
        "\u03c3\u03c4\u03b1\u03b8\u03bc\u03bf\u03cd");
    const QString file = GetParam() ? folder.file(folders + "/Rostima.ini") : "shared.ini";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(plat::ResolveProfilePath(file)).absolutePath()));
    ChildProcess a(folder, "profile_writer", {"a", file});
    ChildProcess b(folder, "profile_writer", {"b", file});
    ASSERT_EQ(a.finish(), 0);
    ASSERT_EQ(b.finish(), 0);
    int lost = 0;
    for (int i = 0; i < 150; ++i)
        for (const char* who : {"a", "b"}) lost += get("S", who + QString::number(i), file) != "v";
    EXPECT_EQ(lost, 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, ProfileFileShared, ::testing::Bool(), [](const auto& info) {
    return info.param ? "LongNonLatinPath" : "ShortName";
});

// A line break in a section, key or value never makes lines of its own; a file that is
// not UTF-8 keeps the bytes of every line the write does not touch.
TEST(ProfileFile, WritesOnlyItsOwnLineWhateverTheTextAndLeavesOtherBytesAlone) {
    TempProgramFolder folder;
    ASSERT_TRUE(put("S", "K", "a\n[Evil]\r\nInjected=1", "b.ini"));
    ASSERT_TRUE(put("T\n[U]", "L\nM=2", "v", "b.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("b.ini")),
              "[S]\nK=a [Evil]  Injected=1\n[T [U]]\nL M=2=v\n");
    EXPECT_EQ(get("S", "K", "b.ini"), "a [Evil]  Injected=1");
    // A section whose name holds brackets is found again, not written anew.
    ASSERT_TRUE(put("Clinic [17]", "K", "1", "c.ini"));
    ASSERT_TRUE(put("Clinic [17]", "K", "2", "c.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("c.ini")), "[Clinic [17]]\nK=2\n");
    EXPECT_EQ(get("Evil", "Injected", "b.ini"), "DEF");

    const QByteArray latin1 = "[S]\r\nName=Zo\xEB\r\n; caf\xE9 cr\xE8me\r\nOld=1\r\n";
    WriteTestFile(folder.file("l.ini"), latin1);
    ASSERT_TRUE(put("S", "Old", "2", "l.ini"));
    ASSERT_TRUE(put("S", "New", "\u00e9", "l.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("l.ini")),
              "[S]\r\nName=Zo\xEB\r\n; caf\xE9 cr\xE8me\r\nOld=2\r\nNew=\xC3\xA9\r\n");
}

// A file edited on two systems keeps each line's own end; a new line ends as the nearest one
// before it, and a last line without an end gets one only when a line follows it.
TEST(ProfileFile, AWriteKeepsTheLineEndOfEveryOtherLine) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("m.ini"), "[A]\nx=1\r\ny=2\n[B]\r\nz=3");
    ASSERT_TRUE(put("A", "x", "5", "m.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("m.ini")), "[A]\nx=5\r\ny=2\n[B]\r\nz=3");
    ASSERT_TRUE(put("B", "w", "6", "m.ini"));
    ASSERT_TRUE(put("A", "v", "7", "m.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("m.ini")), "[A]\nx=5\r\ny=2\nv=7\n[B]\r\nz=3\r\nw=6\r\n");
    // A section written whole: its keys where its first was, its other lines as they were.
    WriteTestFile(folder.file("s.ini"), "[a]\r\nx = 1\r\n;c\r\ny=2\r\n[E]\r\n\r\n[B]\r\ny=3");
    ASSERT_TRUE(putSection(" A", {{"z", "4\n[B]"}, {"x", "5"}}, "s.ini"));
    ASSERT_TRUE(putSection("e", {{"k", "6"}}, "s.ini"));  // no keys yet
    EXPECT_EQ(ReadTestFile(folder.file("s.ini")),
              "[a]\r\nz=4 [B]\r\nx=5\r\n;c\r\n[E]\r\nk=6\r\n\r\n[B]\r\ny=3");
}

ROSTIMA_CHILD(profile_stranger) {
    // Root reads every file: the write is made as one that may not.
    if (!ObeyFilePermissions()) return 2;
    return plat::WritePrivateProfileSection("S", {{"K", "2"}}, args[0]).Why() ==
                   plat::WholeFile::Fault::Unreadable
               ? 0
               : 1;
}

// Written as if empty, it would lose every value but the new one.
TEST(ProfileFile, AFileThatIsThereButCannotBeReadIsNotWritten) {
    TempProgramFolder folder;
    const QString file = folder.file("hidden.ini");
    WriteTestFile(file, kHandWritten);
    ASSERT_EQ(chmod(qPrintable(folder.path()), 0777), 0);  // the copy may be made there
    ASSERT_EQ(chmod(qPrintable(file), 0222), 0);           // write only
    EXPECT_EQ(ChildProcess(folder, "profile_stranger", {file}).finish(), 0);
    ASSERT_EQ(chmod(qPrintable(file), 0644), 0);
    EXPECT_EQ(ReadTestFile(file), kHandWritten);
}

// A missing file reads as the defaults; one that is there but cannot be read says why, also
// when its open succeeds and only the read fails.
TEST(ProfileFile, AFileThatIsThereButCannotBeReadIsToldFromAMissingOne) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("hand.ini"), kHandWritten);
    ASSERT_TRUE(QDir().mkdir(folder.file("folder.ini")));
    const struct {
        const char* name;
        QString file;
        const char* why;  // nullptr: it reads
    } cases[] = {
        {"a file that reads", "hand.ini", nullptr},
        {"a missing file", "missing.ini", nullptr},
        {"a folder in its place", "folder.ini", "it is a folder, not a file"},
        // The process's own memory, read from address 0: the open succeeds, the read fails.
        {"a read that fails after the open", "/proc/self/mem", "Input/output error"},
    };
    for (const auto& c : cases) {
        const std::optional<QString> why = plat::ProfileReadFailure(c.file);
        EXPECT_EQ(why.has_value(), c.why != nullptr) << c.name;
        if (why && c.why) {
            EXPECT_TRUE(why->contains(c.why)) << c.name << ": " << qPrintable(*why);
        }
    }
}
