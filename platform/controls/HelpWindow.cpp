#include "HelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

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
    if (!m_placed) placeOnScreen();
    show();
    raise();
    activateWindow();
}

// Placed once, when first opened: centred on its owner and kept within the owner's
// screen, so none of it is off the screen. Later openings keep where the user put it.
void HelpWindow::placeOnScreen() {
    m_placed = true;
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // Its frame (title bar, borders) is not known before it shows: taken as its owner's.
    const QMargins border =
        owner ? QMargins(owner->geometry().left() - owner->frameGeometry().left(),
                         owner->geometry().top() - owner->frameGeometry().top(),
                         owner->frameGeometry().right() - owner->geometry().right(),
                         owner->frameGeometry().bottom() - owner->geometry().bottom())
              : QMargins();
    const QRect room = screen->availableGeometry() - border;
    QRect inner(QPoint(0, 0), size().boundedTo(room.size()));
    inner.moveCenter(owner ? owner->geometry().center() : room.center());
    inner.moveLeft(std::clamp(inner.left(), room.left(), room.right() + 1 - inner.width()));
    inner.moveTop(std::clamp(inner.top(), room.top(), room.bottom() + 1 - inner.height()));
    setGeometry(inner);
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
