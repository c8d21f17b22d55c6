#pragma once
#include <QString>

// Stand-in for the database's user list: a slot file beside the database
// ("<database>.users"). Each program that has the database open holds a write lock on
// one byte (an open-file-description lock, so two connections of one process count
// twice and a killed program frees its slot). Byte 0 is a gate that compaction holds
// exclusively while it replaces the file; joining waits on it.
namespace plat {

class UserSlots {
public:
    static constexpr int kSlots = 255;

    UserSlots() = default;
    ~UserSlots() { Leave(); }
    UserSlots(const UserSlots&) = delete;
    UserSlots& operator=(const UserSlots&) = delete;

    // Takes a free slot for the database; false (with a reason) when none can be had. A
    // missing slot file is made with the database file's group and permission bits.
    bool Join(const QString& dbPath, QString* why = nullptr);
    void Leave();
    // Leaves after the database was refused: a slot file that Join made goes again, so none
    // is left beside a file that was not opened (unless another program uses it meanwhile).
    void Withdraw();
    bool joined() const { return m_fd >= 0; }

    // Number of slots held by anyone (this object's too), 0 without a slot file; -1 with a
    // reason on failure.
    static int Count(const QString& dbPath, QString* why = nullptr);

    // True while a compaction holds the gate of the database.
    static bool GateClosed(const QString& dbPath);

    // Holds the gate exclusively (no program joins meanwhile); false when it is taken.
    bool CloseGate(const QString& dbPath, QString* why = nullptr);
    void OpenGate();

    static QString SlotFile(const QString& dbPath) { return dbPath + ".users"; }

private:
    int m_fd = -1;
    int m_gateFd = -1;
    bool m_made = false;  // the slot file was made by the Join that took m_fd
    QString m_path;       // the database of that Join
};

}  // namespace plat
