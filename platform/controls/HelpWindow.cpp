#include "HelpWindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace plat {

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 480);
}

void HelpWindow::setHelpFile(const QString& path) { m_path = path; }

void HelpWindow::reloadIfChanged() {
    const QDateTime stamp = QFileInfo(m_path).lastModified();
    if (m_path == m_loadedPath && stamp == m_loadedStamp) return;
    m_loaded = m_document.load(m_path);
    m_loadedPath = m_path;
    m_loadedStamp = stamp;
}

void HelpWindow::showHelp(int context) {
    reloadIfChanged();
    m_context = context;
    if (!m_loaded) {
        setWindowTitle(tr("Help"));
        m_browser->setPlainText(tr("The help file %1 could not be read.").arg(m_path));
    } else if (const HelpTopic* t = m_document.topic(context)) {
        setWindowTitle(t->title);
        m_browser->setMarkdown(QStringLiteral("# ") + t->title + QStringLiteral("\n\n") + t->body);
    } else {
        setWindowTitle(tr("Help"));
        m_browser->setPlainText(tr("There is no help topic %1 in %2.").arg(context).arg(m_path));
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::closeHelp() { close(); }

QString HelpWindow::shownText() const { return m_browser->toPlainText(); }

}  // namespace plat
