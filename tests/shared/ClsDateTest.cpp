#include <gtest/gtest.h>

#include "ClsDate.h"
#include "ClsIni.h"
#include "SharedObjects.h"
#include "TestSupport.h"

TEST(ClsDate, DayNumbersCountFromTheFirstOfJanuary1900AcrossLeapYears) {
    TempProgramFolder folder;
    ClsDate d;
    struct Case { QDate date; int32_t day; } cases[] = {
        {QDate(1900, 1, 1), 0},       {QDate(1900, 1, 2), 1},
        {QDate(1900, 3, 1), 59},      {QDate(2000, 1, 1), 36524},
        {QDate(2000, 3, 1), 36584},   {QDate(2024, 1, 31), 45320},
        {QDate(2024, 2, 29), 45349},  {QDate(2100, 3, 1), 73108},
        {QDate(1899, 12, 31), -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(d.DateToLong(c.date), c.day) << c.date.toString().toStdString();
        EXPECT_EQ(d.LongToDate(c.day), c.date) << c.day;
    }
    EXPECT_EQ(d.DateToLong(QDateTime(QDate(1900, 1, 1), QTime(23, 59))), 0);
    EXPECT_EQ(d.LongToDate(0).dayOfWeek(), Qt::Monday);
}

TEST(ClsDate, MonthHelpersKnowFebruaryInLeapAndCommonYears) {
    TempProgramFolder folder;
    ClsDate d;
    EXPECT_EQ(d.FirstDayOfMonth(45349), 45321);
    EXPECT_EQ(d.LastDayOfMonth(45349), 45349);
    EXPECT_EQ(d.DaysInMonth(45349), 29);
    EXPECT_EQ(d.DaysInMonth(d.DateToLong(QDate(1900, 2, 14))), 28);
    EXPECT_EQ(d.DaysInMonth(d.DateToLong(QDate(2000, 2, 1))), 29);
    EXPECT_EQ(d.LastDayOfMonth(d.DateToLong(QDate(2023, 12, 5))),
              d.DateToLong(QDate(2023, 12, 31)));
}

TEST(ClsDate, DayNumbersOutsideTheYears100To9999AreLoggedAndNeutral) {
    TempProgramFolder folder;
    ClsDate d;
    EXPECT_EQ(d.LongToDate(3000000), ClsDate::ZeroDate());
    EXPECT_EQ(d.FirstDayOfMonth(-700000), -700000);
    EXPECT_EQ(d.DaysInMonth(3000000), 0);
    EXPECT_TRUE(folder.logText().contains("ClsDate.LongToDate: Error 6 on line "));
}

TEST(ClsDate, TwelveHourTextsAroundNoonAndMidnight) {
    TempProgramFolder folder;
    ClsDate d;
    struct Case { int16_t m; const char* text; } cases[] = {
        {0, "00:00 am"},   {59, "00:59 am"},  {719, "11:59 am"}, {720, "12:00 pm"},
        {779, "12:59 pm"}, {780, "01:00 pm"}, {1439, "11:59 pm"}, {1440, "12:00 am"},
    };
    for (const auto& c : cases) EXPECT_EQ(d.ShowTime(c.m, true), c.text) << c.m;
    EXPECT_EQ(d.ShowTime(720, false), "12:00");
}

TEST(ClsDate, TwentyFourHourTextsWhenTheSettingIsOnAndTwelveWhenItIsNotANumber) {
    TempProgramFolder folder;
    SharedObjects::Ini().setIniFile("RostimaShr");
    ClsDate d;
    SharedObjects::Ini().WriteValue("Options", "UseMilitaryTime", 1);
    EXPECT_EQ(d.ShowTime(780, true), "13:00");
    EXPECT_EQ(d.ShowTime(1440, true), "24:00");
    // Numerically not 0 is on, whatever its spelling.
    for (const char* on : {"1.0", " -1 ", "0.5"}) {
        SharedObjects::Ini().WriteValue("Options", "UseMilitaryTime", QString(on));
        EXPECT_EQ(d.ShowTime(780, true), "13:00") << on;
    }
    SharedObjects::Ini().WriteValue("Options", "UseMilitaryTime", "0.0");
    EXPECT_EQ(d.ShowTime(780, true), "01:00 pm");
    SharedObjects::Ini().WriteValue("Options", "UseMilitaryTime", "yes please");
    EXPECT_EQ(d.ShowTime(780, true), "01:00 pm");
    SharedObjects::Ini().WriteValue("Options", "UseMilitaryTime", "");
    EXPECT_EQ(d.ShowTime(545, false), "09:05");
    EXPECT_EQ(d.MilitaryTime(545), "09:05");
    EXPECT_EQ(d.MilitaryTime(0), "00:00");
}

TEST(ClsDate, GetTimeReadsLeadingNumbersAndIgnoresTheSuffix) {
    TempProgramFolder folder;
    ClsDate d;
    struct Case { const char* text; int16_t m; } cases[] = {
        {"7:5", 425},      {":30", 30},        {"0930", 0},      {"12:30 pm", 750},
        {"01:00 pm", 60},  {" 1 0 : 15", 615}, {"x:10", 10},     {"0.5:0", 30},
        {"0:0.5", 0},      {"0:1.5", 2},       {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(d.GetTime(c.text), c.m) << c.text;
    EXPECT_EQ(d.GetTime("999:00"), 0);  // does not fit 16 bits
    EXPECT_TRUE(folder.logText().contains("ClsDate.GetTime: Error 6 on line 4 (Overflow)"));
}
