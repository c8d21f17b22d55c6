#pragma once
#include "ClassId.h"
#include "HResult.h"

class QWidget;

// Stand-in for a class object: what a component library's DllGetClassObject hands out
// for one of its classes. Every call a host makes on it is virtual, so it runs in the
// library, on the library's own bookkeeping.
namespace plat {

enum class ObjectKind { Control, PropertyPage };

class ClassFactory {
public:
    virtual ~ClassFactory() = default;
    virtual ClassId Clsid() const = 0;
    virtual ObjectKind Kind() const = 0;
    // A new object as a child of parent (owned by it; by the caller when parent is null);
    // nullptr when it cannot be made.
    virtual QWidget* CreateInstance(QWidget* parent) = 0;
    // Keeps the library loaded while no object of it lives.
    virtual void LockServer(bool lock) = 0;
};

// The four exports of a component library, as a host resolves them.
using DllGetClassObjectFn = HResult (*)(const ClassId* clsid, ClassFactory** factory);
using DllServerFn = HResult (*)();

}  // namespace plat
