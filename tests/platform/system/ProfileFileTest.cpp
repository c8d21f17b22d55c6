#include <gtest/gtest.h>

#include "ProfileFile.h"
#include "TestSupport.h"

namespace {

QString get(const QString& s, const QString& k, const QString& file, const QString& def = "DEF",
            int size = 255) {
    QString out;
    plat::GetPrivateProfileString(s, k, def, out, size, file);
    return out;
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
    ASSERT_TRUE(plat::WritePrivateProfileString("S", "Long", QString(300, 'x'), "long.ini"));
    QString out;
    EXPECT_EQ(plat::GetPrivateProfileString("S", "Long", "", out, 255, "long.ini"), 254);
    EXPECT_EQ(out, QString(254, 'x'));
    EXPECT_EQ(plat::GetPrivateProfileString("S", "Long", "", out, 0, "long.ini"), 0);
}

TEST(ProfileFile, WriteReplacesInPlaceAndKeepsEveryOtherLine) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("hand.ini"), kHandWritten);
    ASSERT_TRUE(plat::WritePrivateProfileString("CONFIG", "updatecheck", "45", "hand.ini"));
    QByteArray expected = kHandWritten;
    expected.replace("UpdateCheck=30", "UpdateCheck=45");
    EXPECT_EQ(ReadTestFile(folder.file("hand.ini")), expected);
}

TEST(ProfileFile, NewKeyGoesAfterItsSectionsLastLineAndNewSectionAtTheEnd) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("t.ini"), "[A]\nx=1\n\n[B]\ny=2\n");
    ASSERT_TRUE(plat::WritePrivateProfileString("a", "z", "3", "t.ini"));
    ASSERT_TRUE(plat::WritePrivateProfileString("C", "w", "4", "t.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("t.ini")), "[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n");
}

TEST(ProfileFile, WriteCreatesAMissingFileInTheProgramFolder) {
    TempProgramFolder folder;
    ASSERT_TRUE(plat::WritePrivateProfileString("Config", "DbName", "x.mdb", "New.ini"));
    EXPECT_EQ(ReadTestFile(folder.file("New.ini")), "[Config]\nDbName=x.mdb\n");
    EXPECT_EQ(get("Config", "DbName", folder.file("New.ini")), "x.mdb");
}

TEST(ProfileFile, WriteIntoAFolderThatDoesNotExistReportsFailure) {
    TempProgramFolder folder;
    QString why;
    EXPECT_FALSE(plat::WritePrivateProfileString("S", "K", "V", folder.file("no/such/x.ini"),
                                                  &why));
    EXPECT_FALSE(why.isEmpty());
}

ROSTIMA_CHILD(profile_writer) {
    for (int i = 0; i < 40; ++i)
        plat::WritePrivateProfileString("S", args[0] + QString::number(i), "v", "shared.ini");
    return 0;
}

TEST(ProfileFile, TwoProcessesWritingOneFileLoseNoValue) {
    TempProgramFolder folder;
    ChildProcess a(folder, "profile_writer", {"a"});
    ChildProcess b(folder, "profile_writer", {"b"});
    ASSERT_EQ(a.finish(), 0);
    ASSERT_EQ(b.finish(), 0);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(get("S", "a" + QString::number(i), "shared.ini"), "v") << i;
        EXPECT_EQ(get("S", "b" + QString::number(i), "shared.ini"), "v") << i;
    }
}
