#pragma once
#include "ClassFactory.h"
#include "HResult.h"

// The library's side of registration and creation: what its four exports do. The
// library registers its type library, its three classes (the control, the General page
// and the About page) and the control's two component categories into the registry of
// the program folder, and hands out the class objects of those classes.
class TintoraServer {
public:
    // Each step only when the one before succeeded; the first failure is the result and
    // what was done before it stays: type library (kSelfRegTypeLib), classes
    // (kSelfRegClass), safe for initialising, safe for scripting.
    static plat::HResult RegisterServer();
    // Takes the control out of both categories (the categories stay), then removes the
    // type library (kSelfRegTypeLib) and the classes (kSelfRegClass).
    static plat::HResult UnregisterServer();
    static plat::HResult GetClassObject(const plat::ClassId* clsid, plat::ClassFactory** factory);
    static plat::HResult CanUnloadNow();
};
