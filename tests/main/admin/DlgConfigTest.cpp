#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include "AdminFixture.h"
#include "ClsDAO.h"
#include "ClsDate.h"
#include "ColourPickerHost.h"
#include "ComboBox.h"
#include "DlgConfig.h"
#include "DlgMain.h"
#include "Folvo.h"
#include "KeyedToolbar.h"
#include "Nudgel.h"
#include "OleControl.h"
#include "PaletteGeometry.h"
#include "Plexaro.h"
#include "ReadAgain.h"
#include "TintoraIds.h"

namespace {

class DlgConfigTest : public AdminFixture {
protected:
    void TearDown() override {
        plat::SetFolvoHook(nullptr);
        AdminFixture::TearDown();
    }
    // The palette the picker dropped; none when it is not shown.
    static QWidget* palette() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (QByteArray(w->metaObject()->className()) == "CPaletteWnd" && w->isVisible())
                return w;
        return nullptr;
    }
    static void clickPalette(const QPoint& at) {
        QWidget* p = palette();
        ASSERT_NE(p, nullptr);
        QTest::mouseClick(p->windowHandle(), Qt::LeftButton, {}, at);
    }
    static QString signedColour(uint32_t colour) {
        return QString::number(static_cast<int32_t>(colour));
    }
    static QString daysAgo(int days) {
        return QLocale(QLocale::English)
            .toString(QDate::currentDate().addDays(-days), "d MMM yyyy");
    }
    int32_t today() { return SharedObjects::Date().DateToLong(QDate::currentDate()); }
};

struct Key {
    const char* section;
    const char* key;
    QString value;
};

}  // namespace

TEST_F(DlgConfigTest, SaveWritesEverySettingUnderItsKeyAndTheChartTakesThemOnClosing) {
    const plat::Plexaro& chart = *dlg->Sched;
    const Key expected[] = {
        {"Colours", "TitleBackColor", "33023"},  // the third orange of the palette
        {"Colours", "ListBackColor", signedColour(chart.listBackColor())},
        {"Colours", "WeekendColor", signedColour(chart.weekendColor())},
        {"Colours", "RulerBackColor", signedColour(chart.rulerBackColor())},
        {"Colours", "BackColor", "-2147483633"},  // the button face, a system colour
        {"Colours", "SelectBackColor", signedColour(chart.selectBackColor())},
        {"Options", "ColourPrint", "1"},
        {"Options", "CustomerRequired", "0"},
        {"Options", "PopupReminders", "1"},
        {"Options", "Autoscroll", "0"},
        {"Options", "DispCustomer", "0"},
        {"Options", "UseMilitaryTime", "1"},
        {"Options", "AggressiveDebug", "0"},
        {"Options", "PageSize", "9"},
        {"Options", "DefCustomer", "1"},
        {"Options", "DefTask", "1"},
        {"Config", "DbName", folder.file("Rostima.mdb")},
    };
    when<DlgConfig>([this](DlgConfig& d) {
        EXPECT_EQ(d.windowTitle(), "Configuration");
        for (int i : {0, 2, 5}) d.ChkOption[i]->click();
        d.CbPageSize->SetListIndex(d.CbPageSize->findText("A4 210x297mm"));
        d.CbCustomer->SetListIndex(d.CbCustomer->findText("Smith"));
        d.CbTask->SetListIndex(d.CbTask->findText("Visit"));
        d.BtnColour[0]->click();
        clickPalette(PaletteGeometry::CellRect(14).center());
        d.LastColour = 4;
        d.ColourPick_ColorClick(0x8000000F, 0);
        d.Toolbar1->press("Save");
        EXPECT_FALSE(d.Changed);
        d.Toolbar1->press("Exit");
    });
    dlg->Toolbar1->press("Config");
    for (const Key& k : expected)
        EXPECT_EQ(setting(k.section, k.key), k.value) << k.section << " " << k.key;
    EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join("\n"));
    EXPECT_EQ(chart.titleBackColor(), 0x0080FFu);
    EXPECT_EQ(chart.backColor(), 0x8000000Fu);
}

TEST_F(DlgConfigTest, WithoutSettingsTheDialogShowsTheDefaultsAndExitAsksNothing) {
    DlgConfig d(dlg, *dlg->Sched);
    d.Form_Load();
    EXPECT_EQ(d.TxtDatabase->text(), folder.file("Rostima.mdb"));
    EXPECT_EQ(d.LblPurge->text(), daysAgo(90));
    EXPECT_EQ(d.CbPageSize->currentText(), "Letter 8.5x11in");
    EXPECT_EQ(d.CbPageSize->count(), 12);
    EXPECT_EQ(d.CbCustomer->currentText(), "");
    EXPECT_EQ(d.CbTask->currentText(), "");
    for (QCheckBox* box : d.ChkOption) EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(DlgConfig::ButtonColour(*d.BtnColour[1]), dlg->Sched->listBackColor());
    EXPECT_FALSE(d.Changed);
    d.Toolbar1_ButtonClick("Exit");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(DlgConfigTest, StoredChoicesThatNoLongerExistFallBackToTheFirstEntry) {
    struct Case {
        const char* pageSize;
        const char* customer;
        const char* shownPage;
        const char* shownCustomer;
        const char* savedPage;
        const char* savedCustomer;
    } cases[] = {
        {"0", "99", "Letter 8.5x11in", "", "1", "0"},
        {"13", "1", "Letter 8.5x11in", "Smith", "1", "1"},
        {"12", "0", "B5 182x257mm", "", "12", "0"},
    };
    for (const Case& c : cases) {
        setting("Options", "PageSize", c.pageSize);
        setting("Options", "DefCustomer", c.customer);
        setting("Colours", "RulerBackColor", "255");
        DlgConfig d(dlg, *dlg->Sched);
        d.Form_Load();
        EXPECT_EQ(d.CbPageSize->currentText(), c.shownPage) << c.pageSize;
        EXPECT_EQ(d.CbCustomer->currentText(), c.shownCustomer) << c.customer;
        EXPECT_EQ(DlgConfig::ButtonColour(*d.BtnColour[3]), 255u);
        d.Toolbar1_ButtonClick("Save");
        EXPECT_EQ(setting("Options", "PageSize"), c.savedPage);
        EXPECT_EQ(setting("Options", "DefCustomer"), c.savedCustomer);
    }
}

TEST_F(DlgConfigTest, EachPurgeStepIsWrittenAtOnceAndExitThenAsks) {
    struct Case {
        const char* stored;
        int16_t d;
        const char* written;
        int shownDaysAgo;
    } cases[] = {
        {nullptr, 0, "91", 91},   {"0", 1, "-1", 0},    {"1", 1, "0", 0},
        {"32767", 0, "32767", 0}, {"ten", 0, "ten", 0},
    };
    for (const Case& c : cases) {
        if (c.stored) setting("Config", "PurgePeriod", c.stored);
        DlgConfig d(dlg, *dlg->Sched);
        d.Form_Load();
        const QString before = d.LblPurge->text();
        d.SpinPurge_Click(c.d);
        EXPECT_EQ(setting("Config", "PurgePeriod"), c.written);
        const bool stepped = QString(c.written) != (c.stored ? c.stored : "90");
        EXPECT_EQ(d.LblPurge->text(), stepped ? daysAgo(c.shownDaysAgo) : before) << c.written;
        messages.clear();
        answer = plat::vbNo;
        d.Toolbar1_ButtonClick("Exit");
        EXPECT_EQ(messages, QStringList{"Save?: Do you wish to save the changes?"});
        EXPECT_EQ(setting("Config", "PurgePeriod"), c.written);
    }
    EXPECT_EQ(folder.logText().count("Error in DlgConfig.SpinPurge_Click"), 2);
}

TEST_F(DlgConfigTest, AggressiveDebuggingSwitchesAtOnceAndAStoredOneOnLoading) {
    setting("Options", "AggressiveDebug", "1");
    DlgConfig d(dlg, *dlg->Sched);
    d.Form_Load();
    EXPECT_TRUE(SharedObjects::DAO().AggressiveDebug());
    EXPECT_FALSE(d.Changed);
    d.ChkOption[6]->click();
    EXPECT_FALSE(SharedObjects::DAO().AggressiveDebug());
    EXPECT_TRUE(d.Changed);
}

TEST_F(DlgConfigTest, TheColourPickerIsTheRegisteredControlAndAClosedPaletteChangesNothing) {
    DlgConfig d(dlg, *dlg->Sched);
    d.Form_Load();
    ASSERT_TRUE(d.ColourPick->Available());
    EXPECT_EQ(d.ColourPick->Control()->Dispatch().InterfaceName(), "_DTintora");
    QVariant position;
    ASSERT_TRUE(d.ColourPick->Control()->GetProperty(tintora::disp::Position, position));
    EXPECT_EQ(position.toInt(), PosnCRight);
    d.show();
    const uint32_t before = DlgConfig::ButtonColour(*d.BtnColour[2]);
    d.BtnColour[2]->click();
    clickPalette(PaletteGeometry::CloseBoxRect().center());
    EXPECT_EQ(palette(), nullptr);
    EXPECT_FALSE(d.Changed);
    EXPECT_EQ(DlgConfig::ButtonColour(*d.BtnColour[2]), before);
}

TEST_F(DlgConfigTest, WithoutTheRegisteredPickerTheColoursCannotChangeAndTheLogSaysWhy) {
    ASSERT_TRUE(QFile::remove(folder.file("Registry.ini")));
    DlgConfig d(dlg, *dlg->Sched);
    d.Form_Load();
    EXPECT_FALSE(d.ColourPick->Available());
    d.BtnColour[0]->click();
    EXPECT_EQ(palette(), nullptr);
    EXPECT_TRUE(folder.logText().contains("DlgConfig: colour picker not available ("));
}

TEST_F(DlgConfigTest, ADatabaseFileIsOpenedAndCheckedBeforeTheOneInUseIsLeft) {
    const QString bad = folder.file("Notes.mdb"), good = folder.file("Second.mdb");
    WriteTestFile(bad, "not a database\n");
    ASSERT_TRUE(ClsDAO::CreateDatabase(good));
    {
        ClsDAO other;
        ASSERT_EQ(other.DbOpen(good), 0);
        ASSERT_TRUE(other.SqlAction("insert into tblGroups (GroupName) values ('Elsewhere')"));
    }
    QString chosen;
    QStringList asked;
    plat::SetFolvoHook([&](const plat::Folvo& f) {
        asked << f.title() + "|" + f.filter() + "|" + f.initialFile();
        return chosen;
    });
    DlgConfig d(dlg, *dlg->Sched);
    d.Form_Load();
    ClsDAO& dao = SharedObjects::DAO();

    chosen = bad;
    d.BtnFind->click();
    EXPECT_EQ(dao.DbPath(), folder.file("Rostima.mdb"));
    EXPECT_EQ(text("select GroupName from tblGroups"), "Clinic");
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.value(0).startsWith("Warning!: Unable to open database " + bad));
    EXPECT_EQ(d.TxtDatabase->text(), folder.file("Rostima.mdb"));
    EXPECT_FALSE(d.Changed);

    chosen = folder.file("Missing.mdb");
    d.BtnFind->click();
    EXPECT_EQ(dao.DbPath(), folder.file("Rostima.mdb"));
    EXPECT_TRUE(d.Changed);

    chosen = good;
    d.BtnFind->click();
    EXPECT_EQ(dao.DbPath(), good);
    EXPECT_EQ(dao.OpenCount(), 1);
    EXPECT_EQ(text("select GroupName from tblGroups"), "Elsewhere");
    EXPECT_EQ(d.TxtDatabase->text(), good);
    EXPECT_EQ(setting("Config", "DbName"), folder.file("Rostima.mdb"));  // until Save
    EXPECT_EQ(asked.value(0),
              "Find Database File|Database Files (*.mdb)|*.mdb|" + folder.file("Rostima.mdb"));
    EXPECT_TRUE(folder.logText().contains("Database change requested"));
}

TEST_F(DlgConfigTest, ADatabaseTextTheNextStartCouldNotOpenIsNotSaved) {
    WriteTestFile(folder.file("Notes.mdb"), "not a database\n");
    for (const QString& typed : {folder.file("Missing.mdb"), folder.file("Notes.mdb"), QString()}) {
        messages.clear();
        DlgConfig d(dlg, *dlg->Sched);
        d.Form_Load();
        d.TxtDatabase->setText(typed);
        d.CbPageSize->SetListIndex(1);
        d.Toolbar1_ButtonClick("Save");
        EXPECT_EQ(setting("Config", "DbName"), folder.file("Rostima.mdb")) << qPrintable(typed);
        EXPECT_EQ(setting("Options", "PageSize"), "2");
        EXPECT_EQ(messages.size(), 1) << qPrintable(typed);
    }
}

// A path the settings file gives back cut would make the next start look for another file.
TEST_F(DlgConfigTest, ADatabasePathLongerThanASettingHoldsIsNotSaved) {
    const QString start = folder.file("");
    for (const int length : {254, 255}) {
        const QString path =
            start + QString(length - start.size() - 12, 'd') + "/Rostima.mdb";
        ASSERT_EQ(path.size(), length);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        ASSERT_TRUE(ClsDAO::CreateDatabase(path));
        messages.clear();
        const QString before = setting("Config", "DbName");
        DlgConfig d(dlg, *dlg->Sched);
        d.Form_Load();
        d.TxtDatabase->setText(path);
        d.Toolbar1_ButtonClick("Save");
        if (length == 254) {
            EXPECT_EQ(setting("Config", "DbName"), path);
            EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join("\n"));
        } else {
            EXPECT_EQ(setting("Config", "DbName"), before);
            EXPECT_EQ(messages, QStringList{"Warning!: The database file " + path +
                                            " has a path longer than 254 characters: the "
                                            "database setting is unchanged."});
        }
    }
}

// Whatever the stored period, the label names the day Purge Now would ask about.
TEST_F(DlgConfigTest, ThePurgeLabelShowsTheDayPurgeNowAsksAbout) {
    const struct {
        const char* stored;
        int daysAgo;
    } cases[] = {{"90", 90}, {"1000000000", 100000}, {"-30", 0}, {"-9999999999", 0}};
    for (const auto& c : cases) {
        setting("Config", "PurgePeriod", c.stored);
        DlgConfig d(dlg, *dlg->Sched);
        d.Form_Load();
        EXPECT_EQ(d.LblPurge->text(), daysAgo(c.daysAgo)) << c.stored;
        messages.clear();
        answer = plat::vbNo;
        d.BtnPurge->click();
        EXPECT_EQ(messages, QStringList{"Confirm: Delete every appointment before " +
                                        d.LblPurge->text() + "?"});
    }
}

TEST_F(DlgConfigTest, PurgeNowDeletesOnlyBookingsBeforeThePeriodAndNeverFromToday) {
    const int32_t t = today();
    for (int32_t day : {t - 100, t - 90, t - 1, t, t + 5})
        sql({QString("insert into tblBookings (TaskId, BookingDate, BookingStart, BookingEnd, "
                     "CustomerId, ResourceId, RepeatId) values (1, %1, 600, 615, 0, 1, 0)")
                 .arg(day)});
    auto days = [&] {
        QStringList out;
        for (const QString& d : column("select BookingDate from tblBookings order by BookingDate"))
            out << QString::number(d.toInt() - t);
        return out.join(' ');
    };
    DlgConfig d(dlg, *dlg->Sched);
    d.Form_Load();
    answer = plat::vbNo;
    d.BtnPurge->click();
    EXPECT_EQ(days(), "-100 -90 -1 0 5");
    answer = plat::vbYes;
    d.BtnPurge->click();
    EXPECT_EQ(days(), "-90 -1 0 5");
    setting("Config", "PurgePeriod", "-30");
    d.BtnPurge->click();
    EXPECT_EQ(days(), "0 5");
}

// Another program holds the database: the lists cannot be read at opening, which is told;
// Save keeps the stored defaults, Purge Now says nothing was deleted; once it lets go the
// lists are read with the defaults selected and nothing counted as changed.
TEST_F(DlgConfigTest, ALockedDatabaseKeepsTheStoredDefaultsUntilTheListsAreRead) {
    setting("Options", "DefCustomer", "1");
    setting("Options", "DefTask", "1");
    SharedObjects::DAO().setBusyWaitMs(300);
    HeldDatabase held(folder, folder.file("Rostima.mdb"));
    SharedObjects::DAO().WaitAgain();
    DlgConfig d(dlg, *dlg->Sched);
    d.Form_Load();
    d.Toolbar1_ButtonClick("Save");
    EXPECT_EQ(setting("Options", "DefCustomer") + setting("Options", "DefTask"), "11");
    SharedObjects::DAO().WaitAgain();
    d.BtnPurge->click();
    EXPECT_EQ(messages.join("|"),
              QString("Warning!: ") + ModMain::kNotRead + "|Confirm: Delete every appointment " +
                  "before " + d.LblPurge->text() + "?|Warning!: Unable to purge the " +
                  "appointments!\r\n\r\nThe database is busy or cannot be written; nothing " +
                  "was deleted.");
    held.release();
    d.Customers->RunDue();
    d.Tasks->RunDue();
    EXPECT_EQ(d.CbCustomer->currentText() + " " + d.CbTask->currentText(), "Smith Visit");
    EXPECT_FALSE(d.Changed);
    SharedObjects::DAO().setBusyWaitMs(ClsDAO::kBusyWaitMs);
}
