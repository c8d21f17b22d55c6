#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Stand-in for the outside file-dialog control: the caller sets the title, the filter and
// the file to start from, then calls Show. A chosen file raises OK, with its full path in
// FileName; a cancelled dialog raises nothing. Every dialog goes through the hook when a
// test has set one, so no test ever waits on a file dialog.
namespace plat {

class Folvo : public QObject {
    Q_OBJECT

public:
    // The control's operation numbers, as the calling code knows them.
    enum class Op {
        MultiSelect = 2,  // false: one file only
        Title = 3,
        Filter = 4,  // "Description|pattern|Description|pattern"
        InitialFile = 5,
        PathMustExist = 6,  // the folder typed must exist
        SaveDialog = 8,     // false: the dialog opens a file
        FileMustExist = 11,
        Show = 14,
        FileName = 16,  // the chosen full path, read after OK
    };

    // parent: the window the dialog is shown over.
    explicit Folvo(QWidget* parent = nullptr);

    bool multiSelect() const { return m_multiSelect; }  // 2
    void setMultiSelect(bool on) { m_multiSelect = on; }
    QString title() const { return m_title; }  // 3
    void setTitle(const QString& text) { m_title = text; }
    QString filter() const { return m_filter; }  // 4
    void setFilter(const QString& text) { m_filter = text; }
    QString initialFile() const { return m_initialFile; }  // 5
    void setInitialFile(const QString& path) { m_initialFile = path; }
    bool pathMustExist() const { return m_pathMustExist; }  // 6
    void setPathMustExist(bool on) { m_pathMustExist = on; }
    bool saveDialog() const { return m_saveDialog; }  // 8
    void setSaveDialog(bool on) { m_saveDialog = on; }
    bool fileMustExist() const { return m_fileMustExist; }  // 11
    void setFileMustExist(bool on) { m_fileMustExist = on; }
    // 14: shows the dialog modally; true, with OK raised, when a file was chosen.
    bool show();
    QString fileName() const { return m_fileName; }  // 16

    // Qt's name filters for a "Description|pattern" text: "Database Files (*.mdb)".
    static QStringList NameFilters(const QString& filter);

signals:
    void OK();

private:
    QWidget* m_parent;
    bool m_multiSelect = false;
    QString m_title;
    QString m_filter;
    QString m_initialFile;
    bool m_pathMustExist = false;
    bool m_saveDialog = false;
    bool m_fileMustExist = false;
    QString m_fileName;
};

// Only tests set this: every file dialog is answered by the hook instead (none shown).
// The hook sees the control's settings and returns the chosen path, "" for Cancel.
using FolvoHook = std::function<QString(const Folvo& dialog)>;
void SetFolvoHook(FolvoHook hook);

}  // namespace plat
