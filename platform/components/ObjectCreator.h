#pragma once
#include <QString>

#include "ClassFactory.h"
#include "ClassId.h"

class QWidget;

// Creation of an object by its class id, as a host does it: the registry names the
// library that serves the class, the library is loaded once (QLibrary) and its
// DllGetClassObject hands out the class object, which makes the object. The stock colour
// page is this layer's own and needs no library.
//
//     plat::OleControl* c = plat::ObjectCreator::CreateControl(clsid, dialog, &error);
namespace plat {

class OleControl;
class PropertyPage;

class ObjectCreator {
public:
    // kOk and the class object, or a failure code (class not registered, library not
    // loadable or without the export, class not served by it) with error saying why.
    static HResult GetClassObject(const ClassId& clsid, ClassFactory** factory,
                                  QString* error = nullptr);
    // nullptr when the class cannot be had or is not of that kind.
    static OleControl* CreateControl(const ClassId& clsid, QWidget* parent,
                                     QString* error = nullptr);
    static PropertyPage* CreatePropertyPage(const ClassId& clsid, QWidget* parent,
                                            QString* error = nullptr);
    // Unloads every library loaded here whose DllCanUnloadNow allows it; how many went.
    static int FreeUnusedLibraries();
    static bool IsLoaded(const QString& library);
};

}  // namespace plat
