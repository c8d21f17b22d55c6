#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "TestSupport.h"
#include "UserSlots.h"

namespace {
struct stat statOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

// Sets the process's umask for the test's length.
class Umask {
public:
    explicit Umask(mode_t mask) : m_was(umask(mask)) {}
    ~Umask() { umask(m_was); }

private:
    mode_t m_was;
};
}  // namespace

// Whoever may write the database may take a slot: the slot file gets the database's owner
// and group where allowed and its bits whatever the umask; one of ours made narrower before
// is set to those bits too.
TEST(UserSlots, TheSlotFileTakesTheDatabasesOwnerGroupAndPermissionBits) {
    TempProgramFolder folder;
    const QString db = folder.file("Rostima.mdb");
    const QString slotFile = plat::UserSlots::SlotFile(db);
    WriteTestFile(db, "database");
    const Umask mask(077);
    // As root the database may be given to anyone; otherwise it stays ours.
    const bool root = geteuid() == 0;
    const uid_t owner = root ? 4243 : geteuid();
    const gid_t group = root ? 4242 : getegid();
    ASSERT_EQ(chown(QFile::encodeName(db).constData(), owner, group), 0);
    for (const mode_t mode : {0660, 0666, 0644, 0600}) {
        QFile::remove(slotFile);
        ASSERT_EQ(chmod(QFile::encodeName(db).constData(), mode), 0);
        plat::UserSlots user;
        ASSERT_TRUE(user.Join(db));
        EXPECT_EQ(statOf(slotFile).st_mode & 0777, mode) << std::oct << mode;
        EXPECT_EQ(statOf(slotFile).st_gid, group);
        EXPECT_EQ(statOf(slotFile).st_uid, owner);
    }
    QFile::remove(slotFile);
    WriteTestFile(slotFile, "");
    ASSERT_EQ(chmod(QFile::encodeName(slotFile).constData(), 0644), 0);
    ASSERT_EQ(chmod(QFile::encodeName(db).constData(), 0660), 0);
    plat::UserSlots user;
    ASSERT_TRUE(user.Join(db));
    EXPECT_EQ(statOf(slotFile).st_mode & 0777, 0660u);
}

// A refused database leaves no slot file that its opener made, but never takes one away
// from a program that uses it, nor one the opener found there.
TEST(UserSlots, WithdrawingRemovesOnlyASlotFileItMadeAndNobodyElseUses) {
    TempProgramFolder folder;
    const QString db = folder.file("Rostima.mdb");
    const QString slotFile = plat::UserSlots::SlotFile(db);
    WriteTestFile(db, "database");
    EXPECT_EQ(plat::UserSlots::Count(db), 0);
    EXPECT_FALSE(QFile::exists(slotFile));  // counting makes none

    plat::UserSlots maker, other;
    ASSERT_TRUE(maker.Join(db));
    ASSERT_TRUE(other.Join(db));
    maker.Withdraw();
    EXPECT_TRUE(QFile::exists(slotFile));
    EXPECT_EQ(plat::UserSlots::Count(db), 1);
    other.Withdraw();
    EXPECT_TRUE(QFile::exists(slotFile));
    EXPECT_EQ(plat::UserSlots::Count(db), 0);

    ASSERT_TRUE(QFile::remove(slotFile));
    ASSERT_TRUE(maker.Join(db));
    maker.Withdraw();
    EXPECT_FALSE(QFile::exists(slotFile));
    // One that was open and is closed as usual keeps its slot file.
    ASSERT_TRUE(maker.Join(db));
    maker.Leave();
    EXPECT_TRUE(QFile::exists(slotFile));
}
