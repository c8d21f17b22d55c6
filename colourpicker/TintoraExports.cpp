// The four exports of libTintora.so, the only symbols it shows to its hosts.
#include "TintoraServer.h"

#define TINTORA_EXPORT extern "C" __attribute__((visibility("default")))

TINTORA_EXPORT plat::HResult DllRegisterServer() { return TintoraServer::RegisterServer(); }

TINTORA_EXPORT plat::HResult DllUnregisterServer() { return TintoraServer::UnregisterServer(); }

TINTORA_EXPORT plat::HResult DllGetClassObject(const plat::ClassId* clsid,
                                               plat::ClassFactory** factory) {
    return TintoraServer::GetClassObject(clsid, factory);
}

TINTORA_EXPORT plat::HResult DllCanUnloadNow() { return TintoraServer::CanUnloadNow(); }
