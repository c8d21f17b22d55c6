#include "TintoraServer.h"

#include "CAboutPropPage.h"
#include "CTintoraCtrl.h"
#include "CTintoraPropPage.h"
#include "ClassFactoryOf.h"
#include "ClassRegistry.h"
#include "ComponentCategories.h"
#include "ServerModule.h"
#include "TintoraIds.h"

namespace {

using plat::ClassId;
using plat::ObjectKind;

const uint32_t kLocaleUsEnglish = 1033;

ClassId id(const char* text) { return ClassId::FromString(text); }

plat::TypeLibInfo typeLib() {
    plat::TypeLibInfo info;
    info.libid = id(tintora::kLibId);
    info.name = "TintoraLib";
    info.version = "1.0";
    info.helpText = "Tintora Control";
    info.library = plat::ServerModule::FilePath();
    info.interfaces = {
        {id(tintora::kIidDispatch), "_DTintora", "Dispatch interface for Tintora Control"},
        {id(tintora::kIidEvents), "_DTintoraEvents", "Event interface for Tintora Control"}};
    return info;
}

QList<plat::ClassInfo> classes() {
    const QString library = plat::ServerModule::FilePath();
    plat::ClassInfo control;
    control.clsid = id(tintora::kClsidCtrl);
    control.progId = tintora::kProgIdCtrl;
    control.name = "Tintora Control";
    control.library = library;
    control.isControl = true;
    control.miscStatus = CTintoraCtrl::kMiscStatus;
    control.toolboxBitmap = 1;
    control.typeLib = id(tintora::kLibId);
    control.typeLibVersion = "1.0";
    plat::ClassInfo general;
    general.clsid = id(tintora::kClsidPropPage);
    general.progId = tintora::kProgIdPropPage;
    general.name = "Tintora Property Page";
    general.library = library;
    plat::ClassInfo about;
    about.clsid = id(tintora::kClsidAboutPage);
    about.progId = tintora::kProgIdAboutPage;
    about.name = "About Tintora";
    about.library = library;
    return {control, general, about};
}

// Adds the category (with its description) and the control to it.
bool implement(const ClassId& catid, const QString& description) {
    plat::ComponentCategories categories;
    return categories.RegisterCategory(catid, kLocaleUsEnglish, description) &&
           categories.ImplementCategory(id(tintora::kClsidCtrl), catid);
}

}  // namespace

plat::HResult TintoraServer::RegisterServer() {
    plat::ClassRegistry registry;
    if (!registry.RegisterTypeLib(typeLib())) return plat::kSelfRegTypeLib;
    for (const plat::ClassInfo& c : classes())
        if (!registry.RegisterClass(c)) return plat::kSelfRegClass;
    if (!implement(plat::kCatidSafeForInitializing,
                   "Controls safely initializable from persistent data!"))
        return plat::kFail;
    if (!implement(plat::kCatidSafeForScripting, "Controls safely scriptable!")) return plat::kFail;
    return plat::kOk;
}

plat::HResult TintoraServer::UnregisterServer() {
    plat::ComponentCategories categories;
    const ClassId control = id(tintora::kClsidCtrl);
    if (!categories.RemoveImplemented(control, plat::kCatidSafeForInitializing) ||
        !categories.RemoveImplemented(control, plat::kCatidSafeForScripting))
        return plat::kFail;
    plat::ClassRegistry registry;
    if (!registry.UnregisterTypeLib(typeLib())) return plat::kSelfRegTypeLib;
    for (const plat::ClassInfo& c : classes())
        if (!registry.UnregisterClass(c.clsid, c.progId)) return plat::kSelfRegClass;
    return plat::kOk;
}

plat::HResult TintoraServer::GetClassObject(const ClassId* clsid, plat::ClassFactory** factory) {
    static plat::ClassFactoryOf<CTintoraCtrl, ObjectKind::Control> control(id(tintora::kClsidCtrl));
    static plat::ClassFactoryOf<CTintoraPropPage, ObjectKind::PropertyPage> general(
        id(tintora::kClsidPropPage));
    static plat::ClassFactoryOf<CAboutPropPage, ObjectKind::PropertyPage> about(
        id(tintora::kClsidAboutPage));
    if (!factory) return plat::kFail;
    *factory = nullptr;
    if (!clsid) return plat::kClassNotAvailable;
    for (plat::ClassFactory* f :
         std::initializer_list<plat::ClassFactory*>{&control, &general, &about}) {
        if (f->Clsid() != *clsid) continue;
        *factory = f;
        return plat::kOk;
    }
    return plat::kClassNotAvailable;
}

plat::HResult TintoraServer::CanUnloadNow() { return plat::ServerModule::CanUnloadNow(); }
