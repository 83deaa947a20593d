// Run-time class records, creation by class name, and the serialisable base.
#pragma once

#include "platform/types.h"

#include <string_view>

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    WORD m_wSchema;
    CObject* (*m_pfnCreateObject)();  // null when the class is not creatable
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;

    // The creatable class registered under this exact name, or null.
    static const CRuntimeClass* FromName(std::string_view name);
};

// Adds a class to the by-name registry during static initialisation.
struct CClassRegistration {
    explicit CClassRegistration(const CRuntimeClass* rc);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* rc) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(name) (&name::class##name)

#define DECLARE_SERIAL(name)                                  \
public:                                                       \
    static const CRuntimeClass class##name;                   \
    static CObject* CreateObject();                           \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_SERIAL(name, base, schema)                                             \
    CObject* name::CreateObject() { return new name; }                                   \
    const CRuntimeClass name::class##name = {#name, schema, &name::CreateObject,         \
                                             RUNTIME_CLASS(base)};                       \
    const CRuntimeClass* name::GetRuntimeClass() const { return &name::class##name; }    \
    static const CClassRegistration zpRegistration##name(&name::class##name);

// Downcast that checks the run-time class; null when obj is not a T.
template <class T>
T* DynamicDowncast(CObject* obj)
{
    return obj && obj->IsKindOf(RUNTIME_CLASS(T)) ? static_cast<T*>(obj) : nullptr;
}
