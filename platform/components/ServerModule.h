#pragma once
#include <QString>

#include "HResult.h"

// The bookkeeping of one module (a component library or a program): how many of its
// objects are alive or locked, and its file. Every module links its own copy of this
// layer, so these counts are the module's own; a library answers DllCanUnloadNow from
// them.
namespace plat {

class ServerModule {
public:
    static void Lock();
    static void Unlock();
    static int LockCount();
    // kOk when no object of the module lives and no lock is held, else kFalse.
    static HResult CanUnloadNow();
    // Full path of the file this module was loaded from.
    static QString FilePath();
};

}  // namespace plat
