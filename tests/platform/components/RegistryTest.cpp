#include <gtest/gtest.h>

#include <QFile>

#include "ClassId.h"
#include "Registry.h"
#include "TestSupport.h"

TEST(ClassId, ReadsAndWritesTheBracedTextForm) {
    bool ok = false;
    const plat::ClassId id =
        plat::ClassId::FromString("{6d0c1a43-73b2-4e1f-a8c5-2f9b41d7e360}", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(id.data1, 0x6D0C1A43u);
    EXPECT_EQ(id.data4[0], 0xA8);
    EXPECT_EQ(id.data4[7], 0x60);
    EXPECT_EQ(id.ToString(), "{6D0C1A43-73B2-4E1F-A8C5-2F9B41D7E360}");
    EXPECT_EQ(plat::ClassId::FromString(id.ToString()), id);
    EXPECT_EQ(plat::ClassId::FromString("6D0C1A43-73B2-4E1F-A8C5-2F9B41D7E360"), id);
}

TEST(ClassId, MalformedTextGivesTheNullId) {
    for (const char* bad : {"", "{}", "{6D0C1A43-73B2-4E1F-A8C5-2F9B41D7E36}",
                            "{6D0C1A43-73B2-4E1F-A8C5-2F9B41D7E360",
                            "{6D0C1A43_73B2-4E1F-A8C5-"
                            "2F9B41D7E360}",
                            "{G D0C1A4-73B2-4E1F-A8C5-2F9B41D7E360}"}) {
        bool ok = true;
        EXPECT_TRUE(plat::ClassId::FromString(bad, &ok).IsNull()) << bad;
        EXPECT_FALSE(ok) << bad;
    }
}

TEST(Registry, LivesInTheProgramFolderAndMatchesKeysAndNamesWithoutCase) {
    TempProgramFolder folder;
    plat::Registry r;
    EXPECT_EQ(r.file(), folder.file("Registry.ini"));
    ASSERT_TRUE(r.SetValue("CLSID\\{ABC}\\InprocServer32", "", "/lib/a.so"));
    ASSERT_TRUE(r.SetValue("clsid\\{abc}\\inprocserver32", "ThreadingModel", "Apartment"));
    ASSERT_TRUE(r.SetValue("CLSID\\{ABC}\\InprocServer32", "threadingmodel", "Both"));
    plat::Registry again;  // a second reader sees the file
    EXPECT_EQ(again.Value("Clsid\\{Abc}\\InprocServer32"), "/lib/a.so");
    EXPECT_EQ(again.Value("CLSID\\{ABC}\\InprocServer32", "ThreadingModel"), "Both");
    EXPECT_EQ(again.ValueNames("CLSID\\{ABC}\\InprocServer32"),
              QStringList({"", "ThreadingModel"}));
    EXPECT_TRUE(again.HasKey("CLSID\\{ABC}"));  // parents come with their children
    EXPECT_EQ(again.SubKeys("CLSID"), QStringList{"{ABC}"});
    bool found = true;
    EXPECT_EQ(again.Value("CLSID\\{ABC}", "Missing", &found), "");
    EXPECT_FALSE(found);
}

TEST(Registry, DeletingAKeyTakesItsSubkeysButNotItsNeighbours) {
    TempProgramFolder folder;
    plat::Registry r;
    r.SetValue("A\\B\\C", "x", "1");
    r.SetValue("A\\B", "y", "2");
    r.SetValue("A\\BB", "z", "3");
    r.CreateKey("A\\D");
    ASSERT_TRUE(r.DeleteKey("a\\b"));
    EXPECT_FALSE(r.HasKey("A\\B"));
    EXPECT_FALSE(r.HasKey("A\\B\\C"));
    EXPECT_EQ(r.Value("A\\BB", "z"), "3");
    EXPECT_EQ(r.SubKeys("A"), QStringList({"BB", "D"}));
    EXPECT_TRUE(r.DeleteKey("A\\Nowhere"));
    ASSERT_TRUE(r.DeleteValue("A\\BB", "Z"));
    EXPECT_TRUE(r.ValueNames("A\\BB").isEmpty());
}

TEST(Registry, ValuesStayOnOneLineAndADamagedFileReadsAsWhatCanBeUnderstood) {
    TempProgramFolder folder;
    plat::Registry r;
    r.SetValue("K", "text", "two\nlines");
    r.SetValue("K", "n=ame", "v");
    EXPECT_EQ(r.Value("K", "text"), "two lines");
    EXPECT_EQ(r.Value("K", "name"), "v");

    QFile hand(folder.file("Registry.ini"));
    ASSERT_TRUE(hand.open(QIODevice::WriteOnly));
    hand.write(
        "orphan=1\r\n[]\r\nlost=2\r\n[Good\\Key]\r\n@=default\r\nno equals sign\r\n"
        "=nameless\r\n[Half\r\n");
    hand.close();
    EXPECT_EQ(r.Value("Good\\Key"), "default");
    EXPECT_EQ(r.ValueNames("Good\\Key"), QStringList{""});
    EXPECT_EQ(r.SubKeys(""), QStringList{"Good"});
    EXPECT_TRUE(r.SetValue("Good\\Key", "more", "1"));
    EXPECT_EQ(r.Value("Good\\Key"), "default");
}

TEST(Registry, AFileThatCannotBeWrittenChangesNothingAndSaysSo) {
    TempProgramFolder folder;
    plat::Registry r(folder.file("missing-folder/Registry.ini"));
    EXPECT_FALSE(r.SetValue("K", "v", "1"));
    EXPECT_FALSE(r.HasKey("K"));
}

ROSTIMA_CHILD(registryWriter) {
    plat::Registry r;
    for (int i = 0; i < 50; ++i) r.SetValue("Child" + args.value(0), QString::number(i), "x");
    return 0;
}

TEST(Registry, WritersInTwoProcessesNeverLoseEachOthersValues) {
    TempProgramFolder folder;
    ChildProcess a(folder, "registryWriter", {"A"});
    ChildProcess b(folder, "registryWriter", {"B"});
    EXPECT_EQ(a.finish(), 0);
    EXPECT_EQ(b.finish(), 0);
    plat::Registry r;
    EXPECT_EQ(r.ValueNames("ChildA").size(), 50);
    EXPECT_EQ(r.ValueNames("ChildB").size(), 50);
}
