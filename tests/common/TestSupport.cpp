#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>

#include "AppInfo.h"
#include "ClsBooking.h"
#include "MsgBox.h"
#include "SharedObjects.h"

namespace {
std::map<std::string, ChildMain>& registry() {
    static std::map<std::string, ChildMain> r;
    return r;
}
int g_counter = 0;
const char* kChildFlag = "--rostima-child";
}  // namespace

TempProgramFolder::TempProgramFolder() {
    m_exeName = QString("RosT%1_%2").arg(getpid()).arg(++g_counter);
    plat::SetAppPathForTest(m_dir.path());
    plat::SetAppExeNameForTest(m_exeName);
}

TempProgramFolder::~TempProgramFolder() {
    SharedObjects::Release();
    plat::SetAppPathForTest(QString());
    plat::SetAppExeNameForTest(QString());
}

QString TempProgramFolder::logText() const {
    QFile f(file("Error" + QDate::currentDate().toString("yyyyMMdd") + ".txt"));
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

bool RegisterChild(const char* name, ChildMain fn) {
    registry()[name] = std::move(fn);
    return true;
}

bool ObeyFilePermissions() {
    if (geteuid() != 0) return true;
    // Root's way past the permission bits are three capabilities; without them it is the
    // owner of its files like any other. (Another user instead might not even reach the
    // test's folder: a root folder of mode 0700, as in a fresh chroot.)
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    // From the permitted set too: access() asks that one for root.
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        data[cap / 32].effective &= ~(1u << (cap % 32));
        data[cap / 32].permitted &= ~(1u << (cap % 32));
    }
    return syscall(SYS_capset, &header, data) == 0;
}

void ChildSay(const QString& line) {
    std::cout << line.toStdString() << std::endl;
}

QString ChildHear() {
    std::string line;
    if (!std::getline(std::cin, line)) return QString();
    return QString::fromStdString(line);
}

ChildProcess::ChildProcess(const TempProgramFolder& folder, const char* name,
                           const QStringList& args) {
    m_proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_proc.start("/proc/self/exe",
                 QStringList{kChildFlag, name, folder.path(), folder.exeName()} + args);
    m_proc.waitForStarted(10000);
}

ChildProcess::~ChildProcess() {
    if (m_proc.state() != QProcess::NotRunning) {
        m_proc.kill();
        m_proc.waitForFinished(5000);
    }
}

QString ChildProcess::readLine(int timeoutMs) {
    while (!m_proc.canReadLine()) {
        if (m_proc.state() == QProcess::NotRunning || !m_proc.waitForReadyRead(timeoutMs)) {
            if (m_proc.canReadLine()) break;
            return QString();
        }
    }
    return QString::fromUtf8(m_proc.readLine()).trimmed();
}

void ChildProcess::say(const QString& line) {
    m_proc.write((line + "\n").toUtf8());
    m_proc.waitForBytesWritten(5000);
}

int ChildProcess::finish(int timeoutMs) {
    m_proc.closeWriteChannel();
    if (!m_proc.waitForFinished(timeoutMs)) return -1;
    return m_proc.exitStatus() == QProcess::NormalExit ? m_proc.exitCode() : -1;
}

void ChildProcess::kill() {
    m_proc.kill();
    m_proc.waitForFinished(5000);
}

bool RunChildIfAsked(int argc, char** argv, int& exitCode) {
    if (argc < 5 || std::string(argv[1]) != kChildFlag) return false;
    plat::SetAppPathForTest(QString::fromLocal8Bit(argv[3]));
    plat::SetAppExeNameForTest(QString::fromLocal8Bit(argv[4]));
    QStringList args;
    for (int i = 5; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    auto it = registry().find(argv[2]);
    exitCode = it == registry().end() ? 99 : it->second(args);
    SharedObjects::Release();
    return true;
}

namespace {
int32_t g_serNo = 0;
}
void SetTestSerNo(int32_t key) { g_serNo = key; }
int32_t GetSerNo(const QString&) { return g_serNo; }

void WriteTestFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

QByteArray ReadTestFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ClickListEntry(QListWidget& list, int row, bool onTickBox) {
    const QListWidgetItem* entry = list.item(row);
    ASSERT_NE(entry, nullptr) << row;
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.rect = list.visualItemRect(entry);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = entry->text();
    const QRect part = list.style()->subElementRect(
        onTickBox ? QStyle::SE_ItemViewItemCheckIndicator : QStyle::SE_ItemViewItemText, &option,
        &list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, part.center());
}

// Lives here, in a file every test program links, so one copy serves them all.
ROSTIMA_CHILD(database_holder) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(args[0].toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK ||
        sqlite3_exec(db, args.value(1).toUtf8().constData(), nullptr, nullptr, nullptr) !=
            SQLITE_OK)
        return 1;
    ChildSay("held");
    ChildHear();
    sqlite3_close(db);
    return 0;
}

HeldDatabase::HeldDatabase(const TempProgramFolder& folder, const QString& dbPath, Kind kind)
    : m_child(folder, "database_holder",
              {dbPath, kind == Writing   ? "BEGIN IMMEDIATE"
                       : kind == Reading ? "BEGIN; SELECT count(*) FROM tblBookings"
                                         : "BEGIN EXCLUSIVE"}),
      m_held(m_child.readLine() == "held") {}

void HeldDatabase::release() {
    if (!m_held) return;
    m_held = false;
    m_child.say("release");
    m_child.finish();
}

void RecordWhileTold(QStringList& told, QStringList& whileTold,
                     const std::function<QString()>& shown) {
    plat::SetMsgBoxHook([&told, &whileTold, shown](const QString& text, int, const QString&) {
        told << text;
        whileTold << shown();
        return int(plat::vbOK);
    });
}

FileSizeLimit::FileSizeLimit(long bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_was = limit.rlim_cur;
    signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(m_was);
    setrlimit(RLIMIT_FSIZE, &limit);
}
