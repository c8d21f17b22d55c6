// Registers a component library into the registry of this tool's program folder, or
// removes it: "RosRegSvr [-u] <library>". The build runs it on every component library
// it places in the program folder.
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
#include <cstdio>

#include "ClassFactory.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool unregister = args.removeAll("-u") > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: RosRegSvr [-u] <library>\n");
        return 2;
    }
    // A name without a folder is the working folder's file, not one the loader searches.
    QLibrary lib(QFileInfo(args.first()).absoluteFilePath());
    if (!lib.load()) {
        std::fprintf(stderr, "RosRegSvr: %s\n", qPrintable(lib.errorString()));
        return 1;
    }
    const char* name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto fn = reinterpret_cast<plat::DllServerFn>(lib.resolve(name));
    if (!fn) {
        std::fprintf(stderr, "RosRegSvr: %s has no %s\n", qPrintable(args.first()), name);
        return 1;
    }
    const plat::HResult hr = fn();
    if (!plat::Succeeded(hr)) {
        std::fprintf(stderr, "RosRegSvr: %s failed with 0x%08X\n", name, static_cast<unsigned>(hr));
        return 1;
    }
    std::printf("RosRegSvr: %s of %s succeeded\n", name, qPrintable(args.first()));
    return 0;
}
