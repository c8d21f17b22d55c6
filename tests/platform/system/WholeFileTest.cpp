#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "ProfileFile.h"
#include "Registry.h"
#include "TestSupport.h"
#include "WholeFile.h"

namespace {

using Fault = plat::WholeFile::Fault;

const QByteArray kOld = "[Config]\nDbName=/srv/Rostima.mdb\n";

// The entries of a folder: a copy left beside the file would show here.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

// As the file it replaces: its permissions, and where a link points.
TEST(WholeFile, ReplacesTheFileKeepingItsPermissionsAndWritesThroughALink) {
    TempProgramFolder folder;
    const QString file = folder.file("a.ini");
    WriteTestFile(file, kOld);
    ASSERT_EQ(chmod(qPrintable(file), 0640), 0);
    ASSERT_TRUE(QFile::link(file, folder.file("link.ini")));
    const QByteArray big(100000, 'x');  // more than any buffer holds
    ASSERT_FALSE(plat::WholeFile::Write(folder.file("link.ini"), big).Failed());
    EXPECT_EQ(ReadTestFile(file), big);
    EXPECT_TRUE(QFileInfo(folder.file("link.ini")).isSymLink());
    EXPECT_EQ(QFileInfo(file).permissions() & 0x0FFF, 0x0640);  // user, group, others
    EXPECT_EQ(entries(folder.path()), (QStringList{"a.ini", "link.ini"}));
}

// Made as one who may not (root may write anything).
ROSTIMA_CHILD(whole_file_stranger) {
    if (!ObeyFilePermissions()) return 99;
    return static_cast<int>(plat::WholeFile::Write(args[0], "new").Why());
}

// Each failure is told with its reason, and leaves the old file byte for byte and nothing
// beside it: a short last piece under a file-size limit (which Qt 6.4's QSaveFile reported
// as written), a folder in the file's place, a missing folder, a folder or a file that may
// not be written.
TEST(WholeFile, AFailureIsToldWithItsReasonAndLeavesTheOldFileAndNoCopy) {
    using Write = std::function<plat::WholeFile::Result(const TempProgramFolder&, QString)>;
    auto asStranger = [](mode_t folderMode, mode_t fileMode) -> Write {
        return [=](const TempProgramFolder& folder, const QString& file) {
            chmod(qPrintable(folder.path()), folderMode);
            chmod(qPrintable(file), fileMode);
            const int code = ChildProcess(folder, "whole_file_stranger", {file}).finish();
            chmod(qPrintable(folder.path()), 0700);
            return plat::WholeFile::Result(file, static_cast<Fault>(code));
        };
    };
    const struct {
        const char* name;
        Fault fault;
        const char* reason;
        Write write;
    } cases[] = {
        {"a short last piece", Fault::DiskFull, "the disk is full",
         [](const TempProgramFolder&, const QString& file) {
             const FileSizeLimit limit(1000);
             return plat::WholeFile::Write(file, QByteArray(20000, 'x'));
         }},
        {"a folder in its place", Fault::NotAFile, "a folder of that name is in its place",
         [](const TempProgramFolder& folder, const QString&) {
             return plat::WholeFile::Write(folder.file("sub"), "new");
         }},
        {"no folder", Fault::NoFolder, "its folder does not exist",
         [](const TempProgramFolder& folder, const QString&) {
             return plat::WholeFile::Write(folder.file("gone/a.ini"), "new");
         }},
        {"a read-only folder", Fault::FolderNotWritable, "the folder cannot be written",
         asStranger(0555, 0666)},
        {"a read-only file", Fault::FileReadOnly, "the file is read-only", asStranger(0777, 0444)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramFolder folder;
        const QString file = folder.file("a.ini");
        WriteTestFile(file, kOld);
        ASSERT_TRUE(QDir().mkdir(folder.file("sub")));
        const plat::WholeFile::Result r = c.write(folder, file);
        EXPECT_EQ(r.Why(), c.fault);
        EXPECT_EQ(r.Text(), r.File() + " cannot be written: " + c.reason);
        EXPECT_EQ(ReadTestFile(file), kOld);
        EXPECT_EQ(entries(folder.path()), (QStringList{"a.ini", "sub"}));
    }
}

// A real full disk, where the system allows a small one to be mounted.
TEST(WholeFile, AFullDiskIsToldAndLeavesTheOldFile) {
    TempProgramFolder folder;
    const QString disk = folder.file("disk");
    ASSERT_TRUE(QDir().mkdir(disk));
    if (mount("tmpfs", qPrintable(disk), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no small disk can be mounted here";
    struct Unmount {
        QString at;
        ~Unmount() { umount2(qPrintable(at), MNT_DETACH); }
    } unmount{disk};
    const QString file = disk + "/Groups.ini";
    WriteTestFile(file, kOld);
    const plat::WholeFile::Result r = plat::WholeFile::Write(file, QByteArray(200000, 'x'));
    EXPECT_EQ(r.Why(), Fault::DiskFull);
    EXPECT_EQ(ReadTestFile(file), kOld);
    EXPECT_EQ(entries(disk), QStringList{"Groups.ini"});
}

// The platform's writers of whole files, each over a file below the limit with a change
// that takes it past: the change fails, says so, and the file keeps every byte.
TEST(WholeFile, EveryPlatformWriterTellsAShortWriteAndKeepsTheOldFile) {
    struct Case {
        const char* name;
        const char* file;
        std::function<bool()> changed;  // the writer said it wrote
    };
    const Case cases[] = {
        {"settings value", "Rostima.ini",
         [] {
             return !plat::WritePrivateProfileString("Options", "IsReadOnly", "1", "Rostima.ini")
                         .Failed();
         }},
        {"settings section", "Groups.ini",
         [] {
             return !plat::WritePrivateProfileSection("Clinic", {{"Resources", "0"}}, "Groups.ini")
                         .Failed();
         }},
        {"registry", "Registry.ini", [] { return plat::Registry().SetValue("K", "v", "1"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramFolder folder;
        const QByteArray old = "[Old]\nv=" + QByteArray(3000, 'x') + "\n";
        WriteTestFile(folder.file(c.file), old);
        bool changed = true;
        {
            const FileSizeLimit limit(old.size());
            changed = c.changed();
        }
        EXPECT_FALSE(changed);
        EXPECT_EQ(ReadTestFile(folder.file(c.file)), old);
        EXPECT_EQ(entries(folder.path()).size(), 1);
    }
}
