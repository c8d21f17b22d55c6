#include "ObjectCreator.h"

#include <QFileInfo>
#include <QLibrary>
#include <QWidget>
#include <map>
#include <memory>

#include "ClassRegistry.h"
#include "OleControl.h"
#include "PropertyPage.h"
#include "StockColorPage.h"

namespace plat {
namespace {

std::map<QString, std::unique_ptr<QLibrary>>& libraries() {
    static std::map<QString, std::unique_ptr<QLibrary>> libs;
    return libs;
}

QLibrary* loadLibrary(const QString& file, QString* error) {
    const QString key = QFileInfo(file).absoluteFilePath();
    auto it = libraries().find(key);
    if (it != libraries().end() && it->second->isLoaded()) return it->second.get();
    auto lib = std::make_unique<QLibrary>(key);
    if (!lib->load()) {
        if (error) *error = lib->errorString();
        return nullptr;
    }
    QLibrary* raw = lib.get();
    libraries()[key] = std::move(lib);
    return raw;
}

void say(QString* error, const QString& text) {
    if (error) *error = text;
}

// The object made by the class's factory, when it is of the kind asked for.
QWidget* create(const ClassId& clsid, ObjectKind kind, QWidget* parent, QString* error) {
    ClassFactory* factory = nullptr;
    if (!Succeeded(ObjectCreator::GetClassObject(clsid, &factory, error))) return nullptr;
    if (factory->Kind() != kind) {
        say(error, "Class " + clsid.ToString() + " is not of the kind asked for");
        return nullptr;
    }
    QWidget* object = factory->CreateInstance(parent);
    if (!object) say(error, "Class " + clsid.ToString() + " made no object");
    return object;
}

}  // namespace

HResult ObjectCreator::GetClassObject(const ClassId& clsid, ClassFactory** factory,
                                      QString* error) {
    *factory = nullptr;
    const QString file = ClassRegistry().LibraryOf(clsid);
    if (file.isEmpty()) {
        say(error, "Class " + clsid.ToString() + " is not registered");
        return kClassNotRegistered;
    }
    QLibrary* lib = loadLibrary(file, error);
    if (!lib) return kClassNotRegistered;
    auto get = reinterpret_cast<DllGetClassObjectFn>(lib->resolve("DllGetClassObject"));
    if (!get) {
        say(error, file + " has no DllGetClassObject");
        return kClassNotRegistered;
    }
    const HResult hr = get(&clsid, factory);
    if (!Succeeded(hr) || !*factory) {
        *factory = nullptr;
        say(error, file + " does not serve class " + clsid.ToString());
        return Succeeded(hr) ? kClassNotAvailable : hr;
    }
    return kOk;
}

OleControl* ObjectCreator::CreateControl(const ClassId& clsid, QWidget* parent, QString* error) {
    // The factory said the kind; the object is that class.
    return static_cast<OleControl*>(create(clsid, ObjectKind::Control, parent, error));
}

PropertyPage* ObjectCreator::CreatePropertyPage(const ClassId& clsid, QWidget* parent,
                                                QString* error) {
    if (clsid == StockColorPage::kClsid) return new StockColorPage(parent);
    return static_cast<PropertyPage*>(create(clsid, ObjectKind::PropertyPage, parent, error));
}

int ObjectCreator::FreeUnusedLibraries() {
    int freed = 0;
    for (auto it = libraries().begin(); it != libraries().end();) {
        auto canUnload = reinterpret_cast<DllServerFn>(it->second->resolve("DllCanUnloadNow"));
        if (canUnload && canUnload() == kOk) {
            it->second->unload();
            it = libraries().erase(it);
            ++freed;
        } else {
            ++it;
        }
    }
    return freed;
}

bool ObjectCreator::IsLoaded(const QString& library) {
    const auto it = libraries().find(QFileInfo(library).absoluteFilePath());
    return it != libraries().end() && it->second->isLoaded();
}

}  // namespace plat
