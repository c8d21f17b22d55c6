#pragma once
#include "ClassFactory.h"
#include "ServerModule.h"

// The class object of one class T that is made with new T(parent).
namespace plat {

template <class T, ObjectKind K>
class ClassFactoryOf : public ClassFactory {
public:
    explicit ClassFactoryOf(const ClassId& clsid) : m_clsid(clsid) {}
    ClassId Clsid() const override { return m_clsid; }
    ObjectKind Kind() const override { return K; }
    QWidget* CreateInstance(QWidget* parent) override { return new T(parent); }
    void LockServer(bool lock) override { lock ? ServerModule::Lock() : ServerModule::Unlock(); }

private:
    ClassId m_clsid;
};

}  // namespace plat
