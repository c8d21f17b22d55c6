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
    EXPECT_TRUE(ini.GetSectionNames().isEmpty());
    EXPECT_TRUE(ini.GetSection("Options").isEmpty());
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

TEST(ClsIni, AFailedWriteIsLoggedWithItsArguments) {
    TempProgramFolder folder;
    ClsIni ini;
    ini.setIniFile(folder.file("missing/folder/x.ini"));
    ini.WriteValue("Options", "Zoom", 100);
    EXPECT_TRUE(
        folder.logText().contains("ERROR: ClsIni.WriteValue(\"Options\", \"Zoom\", \"100\")"));
    EXPECT_FALSE(ini.WriteSection("Options", {{"Zoom", "100"}}));
    EXPECT_TRUE(folder.logText().contains("ERROR: ClsIni.WriteSection(\"Options\"): "));
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
    EXPECT_TRUE(ini.GetSectionNames().isEmpty());
    EXPECT_TRUE(folder.logText().contains("ClsIni.GetSection: Error 53 on line 3 ("));
    EXPECT_TRUE(folder.logText().contains("ClsIni.GetSectionNames: Error 53 on line 2 ("));
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
