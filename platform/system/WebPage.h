#pragma once
#include <QString>
#include <functional>

// Stand-in for the shell's "Open" of a web address: the user's default browser shows the
// page. Tests set a hook instead, so no browser is ever started from a test.
namespace plat {

// True when the page was handed on (to the hook, or to the desktop's browser).
bool OpenWebPage(const QString& url);

// Only tests set this: every address goes to the hook instead of a browser.
using WebPageHook = std::function<bool(const QString& url)>;
void SetWebPageHook(WebPageHook hook);

}  // namespace plat
