#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>

#include "ClsDAO.h"
#include "ComboBox.h"
#include "DlgRestore.h"
#include "TestSupport.h"

namespace {
void touch(const QString& name) {
    QDir().mkpath(ClsDAO::BackupFolder());
    QFile f(ClsDAO::BackupFolder() + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

QStringList entries(const DlgRestore& dlg) {
    QStringList out;
    for (int i = 0; i < dlg.CbFile->count(); ++i)
        out << dlg.CbFile->itemText(i) + "=" + QString::number(dlg.CbFile->ItemData(i));
    return out;
}
}  // namespace

class DlgRestoreTest : public ::testing::Test {
protected:
    TempProgramFolder folder;
};

TEST_F(DlgRestoreTest, ListsBackupFilesByTheirLeadingNumberAndSelectsTheLast) {
    for (const char* name : {"20260301.txt", "notes.txt", "0.txt", "20260215.txt", "123456789.txt",
                             "7days.txt", "20260320.dat", "00000042.TXT"})
        touch(name);
    QDir().mkpath(ClsDAO::BackupFolder() + "/20260401.txt");  // a folder, not a file
    DlgRestore dlg;
    EXPECT_EQ(entries(dlg), (QStringList{"7days.txt=7", "00000042.TXT=42", "123456789.txt=12345678",
                                         "20260215.txt=20260215", "20260301.txt=20260301"}));
    EXPECT_EQ(dlg.CbFile->ListIndex(), dlg.CbFile->count() - 1);
    EXPECT_TRUE(dlg.Check1->isChecked());
}

TEST_F(DlgRestoreTest, RestoreGivesTheChosenFileAndSwitchWhichOutliveTheDialog) {
    touch("20260215.txt");
    touch("20260301.txt");
    {
        DlgRestore dlg;
        dlg.CbFile->SetListIndex(0);
        dlg.Check1->setCheckState(Qt::PartiallyChecked);  // anything but unticked counts
        dlg.BtnRestore_Click(0);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(DlgRestore::BackupFile(), ClsDAO::BackupFolder() + "/20260215.txt");
    EXPECT_TRUE(DlgRestore::AddAppointments());
    DlgRestore dlg;
    dlg.Check1->setChecked(false);
    dlg.BtnRestore[0]->click();
    EXPECT_EQ(DlgRestore::BackupFile(), ClsDAO::BackupFolder() + "/20260301.txt");
    EXPECT_FALSE(DlgRestore::AddAppointments());
}

TEST_F(DlgRestoreTest, CancelOrNoFileToChooseGivesNoFile) {
    {
        DlgRestore dlg;  // no Backup folder at all
        EXPECT_EQ(dlg.CbFile->count(), 0);
        dlg.BtnRestore_Click(0);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(DlgRestore::BackupFile(), "");
    }
    touch("20260301.txt");
    DlgRestore chosen;
    chosen.BtnRestore_Click(0);
    ASSERT_NE(DlgRestore::BackupFile(), "");
    DlgRestore dlg;  // a new showing forgets the last choice until a button says again
    EXPECT_EQ(DlgRestore::BackupFile(), "");
    dlg.BtnRestore[1]->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(DlgRestore::BackupFile(), "");
    EXPECT_FALSE(DlgRestore::AddAppointments());
}

TEST_F(DlgRestoreTest, TheChosenFilesNameIsShownWhole) {
    // As a backup names its file, with a note the user added: wider than the window's
    // other contents make it.
    const QString name = "20261208-225917 before the upgrade.txt";
    touch(name);
    DlgRestore dlg;
    dlg.show();  // lays the window out
    // Room for the name beside the list's drop-down arrow.
    EXPECT_GE(dlg.CbFile->width(), dlg.CbFile->fontMetrics().horizontalAdvance(name) + 24);
    EXPECT_LE(dlg.Frame1[0]->geometry().right(), dlg.width());
}
