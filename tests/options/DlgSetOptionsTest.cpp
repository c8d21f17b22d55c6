#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ClsIni.h"
#include "DlgSetOptions.h"
#include "MsgBox.h"
#include "TestSupport.h"

namespace {

class DlgSetOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::SetMsgBoxHook([this](const QString& prompt, int, const QString& title) {
            messages << title + ": " + prompt;
            return int(plat::vbOK);
        });
    }
    void TearDown() override { plat::SetMsgBoxHook(nullptr); }
    QString ini() const { return folder.file("Rostima.ini"); }
    QString fileText() const { return QString::fromUtf8(ReadTestFile(ini())); }
    // The main program's settings file of the folder, and its switch as it reads it.
    QString mainIni() const { return folder.file("RostimaShr.ini"); }
    int64_t mainReadOnly() const {
        ClsIni settings;
        settings.setIniFile(mainIni());
        return settings.GetNumber("Options", "IsReadOnly", 0);
    }
    void click(DlgSetOptions& window) {
        QTest::mouseClick(window.Check1, Qt::LeftButton, {},
                          QPoint(4, window.Check1->height() / 2));
    }

    TempProgramFolder folder;
    QStringList messages;
};

}  // namespace

TEST_F(DlgSetOptionsTest, TheBoxShowsTheFileAndANumberOtherThanZeroIsWrittenBackAsOne) {
    struct Case {
        const char* name;
        const char* file;  // nullptr: no file
        bool ticked;
        const char* after;  // the file afterwards
    };
    const Case cases[] = {
        {"no file", nullptr, false, nullptr},
        {"no key", "[Config]\nDbName=x\n", false, "[Config]\nDbName=x\n"},
        {"zero", "[Options]\nIsReadOnly=0\n", false, "[Options]\nIsReadOnly=0\n"},
        {"one", "[Options]\nIsReadOnly=1\n", true, "[Options]\nIsReadOnly=1\n"},
        {"five", "[Options]\nIsReadOnly=5\n", true, "[Options]\nIsReadOnly=1\n"},
        {"minus", "[Options]\nIsReadOnly=-2\n", true, "[Options]\nIsReadOnly=1\n"},
        {"no number", "[Options]\nIsReadOnly=yes\n", false, "[Options]\nIsReadOnly=yes\n"},
        {"empty", "[Options]\nIsReadOnly=\n", false, "[Options]\nIsReadOnly=\n"},
        {"nan", "[Options]\nIsReadOnly=nan\n", false, "[Options]\nIsReadOnly=nan\n"},
        {"inf", "[Options]\nIsReadOnly=-inf\n", false, "[Options]\nIsReadOnly=-inf\n"},
        {"blanks", "[Options]\nIsReadOnly= 0.5e1 \n", true, "[Options]\nIsReadOnly=1\n"},
    };
    for (const Case& c : cases) {
        QFile::remove(ini());
        QFile::remove(mainIni());
        if (c.file) WriteTestFile(ini(), c.file);
        DlgSetOptions window;
        window.Form_Load();
        EXPECT_EQ(window.Check1->isChecked(), c.ticked) << c.name;
        if (c.after)
            EXPECT_EQ(fileText(), c.after) << c.name;
        else
            EXPECT_FALSE(QFile::exists(ini())) << c.name;
        // The main program of the folder follows; an unticked box writes nothing there.
        if (c.ticked)
            EXPECT_EQ(ReadTestFile(mainIni()), "[Options]\nIsReadOnly=1\n") << c.name;
        else
            EXPECT_FALSE(QFile::exists(mainIni())) << c.name;
    }
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(folder.logText(), "");  // the window writes no line of its own
}

TEST_F(DlgSetOptionsTest, EveryClickWritesAtOnceToBothProgramsFilesAndTheOtherKeysStay) {
    WriteTestFile(ini(), "; workstation 3\n[Config]\nDbName=/srv/Rostima.mdb\n");
    WriteTestFile(mainIni(), "[Config]\nDbName=/srv/Rostima.mdb\n");
    DlgSetOptions window;
    window.Form_Load();
    window.show();
    click(window);
    EXPECT_TRUE(window.Check1->isChecked());
    EXPECT_EQ(fileText(),
              "; workstation 3\n[Config]\nDbName=/srv/Rostima.mdb\n"
              "[Options]\nIsReadOnly=1\n");
    EXPECT_EQ(mainReadOnly(), 1);
    click(window);
    EXPECT_FALSE(window.Check1->isChecked());
    EXPECT_TRUE(fileText().endsWith("[Options]\nIsReadOnly=0\n"));
    EXPECT_EQ(mainReadOnly(), 0);
    EXPECT_EQ(QString::fromUtf8(ReadTestFile(mainIni())),
              "[Config]\nDbName=/srv/Rostima.mdb\n[Options]\nIsReadOnly=0\n");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DlgSetOptionsTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheBoxGoesBack) {
    {
        // A folder in the file's place refuses every write, whoever runs the test.
        ASSERT_TRUE(QDir().mkpath(mainIni()));
        DlgSetOptions window;
        ASSERT_TRUE(window.Form_Load());
        window.show();
        click(window);
        EXPECT_FALSE(window.Check1->isChecked());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.takeFirst(),
                  "Warning!: Unable to save the setting: " + mainIni() +
                      " cannot be written: a folder of that name is in its place.");
        // Both files go on telling the same: this workstation still books.
        EXPECT_EQ(fileText(), "[Options]\nIsReadOnly=0\n");
    }
    // At load the box shows this program's file; that the main program's file refused the
    // switch is told all the same.
    WriteTestFile(ini(), "[Options]\nIsReadOnly=1\n");
    DlgSetOptions window;
    window.Form_Load();
    EXPECT_TRUE(window.Check1->isChecked());
    EXPECT_EQ(messages, QStringList{"Warning!: Unable to save the setting: " + mainIni() +
                                    " cannot be written: a folder of that name is in its "
                                    "place."});
}

// A full disk, where the file that cannot grow is each program's in turn: unticking is
// told with the file and why, the box goes back, and both files keep every byte (the one
// written first goes back to what it held).
TEST_F(DlgSetOptionsTest, AFullDiskIsToldWithTheFileAndBothFilesKeepEveryByte) {
    const QByteArray big = "[Config]\nDbName=/srv/Rostima.mdb\n;" + QByteArray(3000, '-') +
                           "\n[Options]\nIsReadOnly=1\n";
    const QByteArray small = "[Options]\nIsReadOnly=1\n";
    for (const bool own : {true, false}) {
        SCOPED_TRACE(own ? "own file" : "main program's file");
        WriteTestFile(ini(), own ? big : small);
        WriteTestFile(mainIni(), own ? small : big);
        DlgSetOptions window;
        window.Form_Load();
        window.show();
        ASSERT_TRUE(window.Check1->isChecked());
        {
            const FileSizeLimit limit(big.size() - 10);
            click(window);
        }
        EXPECT_TRUE(window.Check1->isChecked());
        EXPECT_EQ(messages,
                  QStringList{"Warning!: Unable to save the setting: " + (own ? ini() : mainIni()) +
                              " cannot be written: the disk is full."});
        EXPECT_EQ(ReadTestFile(ini()), own ? big : small);
        EXPECT_EQ(ReadTestFile(mainIni()), own ? small : big);
        messages.clear();
    }
}

// Read as the default, the box would show the workstation as booking whatever the file
// holds: the program says which file and why, and ends having changed nothing.
TEST_F(DlgSetOptionsTest, ItsOwnSettingsFileThatCannotBeReadIsToldAndNothingChanges) {
    ASSERT_TRUE(QDir().mkpath(ini()));
    DlgSetOptions window;
    EXPECT_FALSE(window.Form_Load());
    EXPECT_EQ(messages, QStringList{"Warning!: The settings file " + ini() +
                                    " cannot be read: it is a folder, not a file.\nThe "
                                    "program ends; nothing was changed."});
    window.Check1->setChecked(true);
    EXPECT_TRUE(QDir(ini()).isEmpty());
    EXPECT_FALSE(QFile::exists(mainIni()));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(DlgSetOptionsTest, ExitClosesTheWindowAndReleasesTheSettings) {
    DlgSetOptions window;
    window.Form_Load();
    window.show();
    window.BtnMain->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.OptionsIni, nullptr);
    window.Check1->setChecked(true);  // nothing left to write to
    EXPECT_FALSE(QFile::exists(ini()));
}

TEST_F(DlgSetOptionsTest, TheNoteAndTheProgramsNameAreShownWhole) {
    DlgSetOptions window;
    const QLabel& note = *window.Label1;
    EXPECT_GE(note.height(), note.heightForWidth(note.width()));
    EXPECT_GT(window.BtnMain->y(), note.geometry().bottom());
    EXPECT_LE(window.BtnMain->geometry().bottom(), window.height());
    // The name stays off the logo's right-hand edge: only the fill shows there.
    const QImage logo = DlgSetOptions::Logo().toImage();
    for (int x = 139; x < 144; ++x)
        for (int y = 10; y < 70; ++y)
            ASSERT_EQ(logo.pixelColor(x, y), QColor(225, 236, 248)) << x << "," << y;
}
