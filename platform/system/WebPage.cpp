#include "WebPage.h"

#include <QDesktopServices>
#include <QUrl>

namespace plat {
namespace {
WebPageHook& hook() {
    static WebPageHook h;
    return h;
}
}  // namespace

void SetWebPageHook(WebPageHook h) { hook() = std::move(h); }

bool OpenWebPage(const QString& url) {
    if (hook()) return hook()(url);
    return QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode));
}

}  // namespace plat
