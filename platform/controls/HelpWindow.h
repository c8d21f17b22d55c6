#pragma once
#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <QWindow>

#include "HelpDocument.h"

class QTextBrowser;

// The help window: shows one topic of the program's help document by its context number.
// It is a window of its own, owned by the window that makes it (the main window), so it
// closes with that window, and it stays usable while a modal dialog is open (help asked
// for from that dialog). Escape closes it. The document is read again when the file has
// changed. It first opens centred on its owner, wholly on the owner's screen.
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

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void reloadIfChanged();
    void placeOnScreen();
    void followModal();
    void modalVisibleChanged(bool visible);

    QTextBrowser* m_browser;
    HelpDocument m_document;
    QString m_path;
    QString m_loadedPath;
    QDateTime m_loadedStamp;
    bool m_loaded = false;
    bool m_placed = false;
    int m_context = -1;
    QPointer<QWindow> m_modal;  // the dialog the window rides along with; none = its owner
};

}  // namespace plat
