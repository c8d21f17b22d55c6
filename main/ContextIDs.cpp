#include "ContextIDs.h"

#include <QPointer>

#include "AppInfo.h"
#include "HelpWindow.h"

namespace ContextIDs {
namespace {
QPointer<QWidget> g_owner;
QPointer<plat::HelpWindow> g_window;
QString g_file;
}  // namespace

void SetHelpFile(QWidget* owner) {
    g_owner = owner;
    const QString folder = plat::AppPath().trimmed();
    g_file = folder.endsWith('/') ? folder + "Rostima.HLP" : folder + "/Rostima.HLP";
}

QString HelpFile() { return g_file; }

void ShowHelp(int32_t ContextId) {
    if (!g_window) {
        g_window = new plat::HelpWindow(g_owner);
        g_window->setHelpFile(g_file);
    }
    g_window->showHelp(ContextId);
}

void CloseHelp() {
    if (g_window) g_window->closeHelp();
}

int32_t ShownContext() { return g_window && g_window->isVisible() ? g_window->currentContext() : -1; }

}  // namespace ContextIDs
