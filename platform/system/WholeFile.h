#pragma once
#include <QByteArrayView>
#include <QString>
#include <cstdint>

namespace plat {

// Writes a file whole or not at all, the one way every program here writes a file: the
// bytes go to a new file beside it, every write's count is checked, the copy is flushed to
// the disk, its size checked, and only then renamed over the file. Any failure removes the
// copy and leaves the old file byte for byte. QSaveFile is not used: Qt 6.4's commit()
// reports success when the last buffered piece was written short (a full disk), over an
// empty or cut file.
//
// A file that is a symbolic link is written where the link points. The new file keeps the
// old one's permissions (a new one gets the process's default).
class WholeFile {
public:
    // What kept the file from being written.
    enum class Fault : uint8_t {
        None,
        DiskFull,           // no room: the disk, the user's quota or a file-size limit
        FolderNotWritable,  // no new file can be made in the file's folder
        FileReadOnly,       // the file is there and may not be written
        NotAFile,           // a folder (or another kind of entry) has the file's name
        NoFolder,           // the file's folder is not there
        Unreadable,         // a change of the file could not read it first
        Failed,             // the system refused for another reason (Detail names it)
    };

    // What a write came to. No truth value: a caller names what it acts on (Failed()).
    class Result {
    public:
        Result() = default;  // written
        Result(QString file, Fault fault, QString detail = QString());
        bool Failed() const { return m_fault != Fault::None; }
        Fault Why() const { return m_fault; }
        const QString& File() const { return m_file; }
        // The reason in words, for the user: "the disk is full".
        QString Reason() const;
        // "<file> cannot be written: <reason>", for the user and the log ("" when written).
        QString Text() const;
        // The system's own words for the failure ("" when it has none).
        const QString& Detail() const { return m_detail; }
        // Text() with the system's words, for a log line.
        QString LogText() const;

    private:
        QString m_file;
        Fault m_fault = Fault::None;
        QString m_detail;
    };

    explicit WholeFile(const QString& path);
    // A file not committed is not there: its copy goes, the old file stays.
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    // Makes the copy beside the file; Commit tells the same failure again.
    [[nodiscard]] Result Open();
    // Adds bytes to the copy. After a failure nothing more is written: Commit tells it.
    void Append(QByteArrayView bytes);
    // Flushes the copy to the disk and puts it in the file's place, or removes it.
    [[nodiscard]] Result Commit();

    // The whole file in one call: open, append, commit.
    [[nodiscard]] static Result Write(const QString& path, QByteArrayView bytes);

private:
    void fail(Fault fault, int error);
    void discard();

    QString m_path;    // as the caller named it
    QString m_target;  // the file written: the path, or where its link points
    QString m_copy;    // the new file beside it while it is written ("" when none)
    int m_fd = -1;
    int64_t m_written = 0;  // bytes the copy holds
    Result m_result;        // the first failure
    bool m_opened = false;
};

}  // namespace plat
