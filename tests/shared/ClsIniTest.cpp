#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ClsIni.h"
#include "TestSupport.h"

TEST(ClsIni, FileNameGetsIniOnlyWhenItHasNoPointAtAll) {
    ClsIni ini;
    ini.setIniFile("RostimaShr");
    EXPECT_EQ(ini.IniFile(), "RostimaShr.ini");
    ini.setIniFile("/opt/app/Groups.ini");
    EXPECT_EQ(ini.IniFile(), "/opt/app/Groups.ini");
    ini.setIniFile("/opt/app.d/settings");
    EXPECT_EQ(ini.IniFile(), "/opt/app.d/settings");
}

TEST(ClsIni, WithoutAFileReadsGiveTheDefaultAndWritesDoNothing) {
    TempProgramFolder folder;
    ClsIni ini;
    ini.WriteValue("Options", "Zoom", 100);
    EXPECT_EQ(ini.GetValue("Options", "Zoom", 7), "7");
    EXPECT_EQ(ini.GetSectionNames(), QStringList());
    EXPECT_TRUE(ini.GetSection("Options").isEmpty());
    EXPECT_EQ(ini.GetSectionValues("Options"), (QList<std::pair<QString, QString>>()));
    EXPECT_EQ(folder.logText(), "");
}

TEST(ClsIni, ValuesRoundTripAndNumbersReadWithTheirDefault) {
    TempProgramFolder folder;
    ClsIni ini;
    ini.setIniFile("RostimaShr");
    ini.WriteValue("Config", "LastDate", 45349);
    ini.WriteValue("Config", "Name", "O'Brien ~ Co");
    EXPECT_EQ(ini.GetValue("config", "lastdate", 0), "45349");
    EXPECT_EQ(ini.GetValue("Config", "Name", ""), "O'Brien ~ Co");
    EXPECT_EQ(ini.GetValue("Config", "Missing", 0), "0");
    EXPECT_EQ(ini.GetNumber("Config", "LastDate", 0), 45349);
    EXPECT_EQ(ini.GetNumber("Config", "Name", 12), 12);
    EXPECT_TRUE(QFile::exists(folder.file("RostimaShr.ini")));
}

TEST(ClsIni, ValuesInQuotesReadBackAsWrittenAndOlderFilesReadAsBefore) {
    TempProgramFolder folder;
    ClsIni ini;
    ini.setIniFile("q.ini");
    const QString values[] = {"\"Quoted\"", "'single'", "\"lone", "lone'",       "'\"x\"'",
                              "\"a'",       "",         "plain",  " \"padded\" "};
    for (const QString& v : values) {
        ini.WriteValue("S", "K", v);
        EXPECT_EQ(ini.GetValue("S", "K", "<none>"), v) << qPrintable(v);
    }
    WriteTestFile(folder.file("old.ini"), "[S]\nD=\"Quoted\"\nE='single'\n");
    ini.setIniFile("old.ini");
    EXPECT_EQ(ini.GetValue("S", "D", ""), "Quoted");
    EXPECT_EQ(ini.GetValue("S", "E", ""), "single");
}

// A file that refuses every write (read-only, or a full disk) logs the first failure of a
// spell, with its arguments and why, not one line each; each failure goes to the program's
// call all the same, and a write that succeeds ends the spell.
TEST(ClsIni, AFailedWriteIsLoggedOnceASpellWithItsArgumentsAndWhyAndHandedOnEachTime) {
    TempProgramFolder folder;
    ClsIni ini;
    QStringList handed;
    ini.setOnFailure([&](const ClsIni::Written& why) { handed << why.Reason(); });
    const QString file = folder.file("missing/x.ini");
    ini.setIniFile(file);
    EXPECT_EQ(ini.WriteValue("Options", "Zoom", 100).Why(), plat::WholeFile::Fault::NoFolder);
    EXPECT_TRUE(ini.WriteSection("Options", {{"Zoom", "100"}}).Failed());
    EXPECT_EQ(handed, QStringList(2, "its folder does not exist"));
    EXPECT_EQ(folder.logText().count("ERROR: ClsIni."), 1);
    EXPECT_TRUE(
        folder.logText().contains("ERROR: ClsIni.WriteValue(\"Options\", \"Zoom\", "
                                  "\"100\"): " +
                                  file + " cannot be written: its folder does not exist"));
    ASSERT_TRUE(QDir().mkdir(folder.file("missing")));
    EXPECT_FALSE(ini.WriteValue("Options", "Zoom", 100).Failed());
    ASSERT_TRUE(QDir(folder.file("missing")).removeRecursively());
    EXPECT_TRUE(ini.WriteSection("Options", {{"Zoom", "100"}}).Failed());
    EXPECT_TRUE(folder.logText().contains("ERROR: ClsIni.WriteSection(\"Options\"): " + file));
}

TEST(ClsIni, SectionNamesAreTheBracketLinesAsTheyStandAndAreLogged) {
    TempProgramFolder folder;
    WriteTestFile(folder.file("names.ini"), "[One]\na=1\n [Two]\n[Three]\r\n");
    ClsIni ini;
    ini.setIniFile("names.ini");
    EXPECT_EQ(ini.GetSectionNames(), (QStringList{"One", "Three"}));
    const QString log = folder.logText();
    EXPECT_TRUE(log.contains(" One\n"));
    EXPECT_TRUE(log.contains(" Three\n"));
    EXPECT_FALSE(log.contains("Two"));
}

TEST(ClsIni, SectionKeysSkipCommentsAndLinesWithoutEqualsAndStopAtTheNextSection) {
    TempProgramFolder folder;
    WriteTestFile(
        folder.file("g.ini"),
        "[Other]\nX=1\n[Zoom]\n; comment=1\nZoom = 100\nno equals here\n=5\n[Next]\nY=2\n");
    ClsIni ini;
    ini.setIniFile(folder.file("g.ini"));  // a full path is used as it is
    EXPECT_EQ(ini.GetSection("Zoom"), (QStringList{"Zoom ", ""}));
    EXPECT_TRUE(ini.GetSection("zoom").isEmpty());  // letter case of the section counts
}

TEST(ClsIni, ListingAMissingFileLogsAndGivesNothing) {
    TempProgramFolder folder;
    ClsIni ini;
    ini.setIniFile("absent.ini");
    EXPECT_TRUE(ini.GetSection("A").isEmpty());
    EXPECT_EQ(ini.GetSectionNames(), QStringList());
    EXPECT_TRUE(folder.logText().contains("ClsIni.GetSection: Error 53 on line 3 ("));
    EXPECT_TRUE(folder.logText().contains("ClsIni.GetSectionNames: Error 53 on line 2 ("));
}

// A folder where the file should be: its templates are there, only not readable.
TEST(ClsIni, AFileThatIsThereButCannotBeReadIsNoneAndNotLoggedAsMissing) {
    TempProgramFolder folder;
    ASSERT_TRUE(QDir().mkdir(folder.file("folder.ini")));
    ClsIni ini;
    ini.setIniFile("folder.ini");
    EXPECT_EQ(ini.GetSectionNames(), std::nullopt);
    EXPECT_EQ(ini.GetSectionValues("A"), std::nullopt);
    EXPECT_TRUE(folder.logText().contains("ClsIni.GetSectionNames: Error 75 on line 2 ("));
    EXPECT_TRUE(folder.logText().contains("ClsIni.GetSectionValues: Error 75 on line 1 ("));
    EXPECT_FALSE(folder.logText().contains("Error 53"));
}

TEST(ClsIni, ASectionsValuesReadAsEachValueReadsAlone) {
    TempProgramFolder folder;
    ClsIni ini;
    ini.setIniFile("long.ini");
    const QString longer(300, u'x');
    ini.WriteValue("S", "Long", longer);
    ini.WriteValue("S", "Quoted", "\"q\"");
    const auto values = ini.GetSectionValues("s");
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(*values, (QList<std::pair<QString, QString>>{{"Long", ini.GetValue("S", "Long", "")},
                                                           {"Quoted", "\"q\""}}));
    EXPECT_EQ(values->front().second.size(), ClsIni::kLongestValue);
}

TEST(ClsIni, AFileThatCannotBeReadIsNamedWithWhyOnceInTheLogAndAMissingOneIsNot) {
    TempProgramFolder folder;
    ClsIni ini;
    ini.setIniFile("absent.ini");
    EXPECT_EQ(ini.ReadFailure(), std::nullopt);
    EXPECT_EQ(folder.logText(), "");
    ASSERT_TRUE(QDir().mkdir(folder.file("RostimaShr.ini")));
    ini.setIniFile("RostimaShr");
    EXPECT_EQ(ini.ReadFailure(), "The settings file " + folder.file("RostimaShr.ini") +
                                     " cannot be read: it is a folder, not a file.");
    EXPECT_EQ(folder.logText().count("ClsIni.ReadFailure: Error 75 on line 1 (The file cannot "
                                     "be read: " +
                                     folder.file("RostimaShr.ini") + ": it is a folder"),
              1);
}
