#pragma once
#include <QDateTime>
#include <QString>
#include <QWidget>

#include "HelpDocument.h"

class QTextBrowser;

// The help window: shows one topic of the program's help document by its context number.
// It is a window of its own, owned by the window that makes it (the main window), so it
// closes with that window. The document is read again when the file has changed.
namespace plat {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* owner = nullptr);

    QString helpFile() const { return m_path; }
    void setHelpFile(const QString& path);
    // Opens the window on the topic. A missing file or topic shows a message saying so
    // in the window instead; nothing else happens.
    void showHelp(int context);
    void closeHelp();
    // The context number shown, -1 before any.
    int currentContext() const { return m_context; }
    // What the window shows, as plain text.
    QString shownText() const;

private:
    void reloadIfChanged();

    QTextBrowser* m_browser;
    HelpDocument m_document;
    QString m_path;
    QString m_loadedPath;
    QDateTime m_loadedStamp;
    bool m_loaded = false;
    int m_context = -1;
};

}  // namespace plat
