#include "HelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
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

bool HelpWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked) followModal();
    return QWidget::event(event);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        closeHelp();
    else
        QWidget::keyPressEvent(event);
}

// A modal dialog blocks every window outside its own family. While one is open, the
// help window is that dialog's transient, which lets it be read, scrolled and closed; it
// goes back to its owner when the dialog closes (and follows the next dialog then).
void HelpWindow::followModal() {
    QWidget* modal = QApplication::activeModalWidget();
    QWindow* own = windowHandle();
    if (!modal || modal == this || !own || !modal->windowHandle()) return;
    if (m_modal) disconnect(m_modal, nullptr, this, nullptr);
    m_modal = modal->windowHandle();
    connect(m_modal, &QWindow::visibleChanged, this, &HelpWindow::modalVisibleChanged);
    own->setTransientParent(m_modal);
}

void HelpWindow::modalVisibleChanged(bool visible) {
    if (visible || !m_modal) return;
    disconnect(m_modal, nullptr, this, nullptr);
    m_modal = nullptr;
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (windowHandle()) windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
}

QString HelpWindow::shownText() const { return m_browser->toPlainText(); }

}  // namespace plat
