#include "platform/object.h"

#include <string>
#include <unordered_map>

namespace {

std::unordered_map<std::string_view, const CRuntimeClass*>& Registry()
{
    static std::unordered_map<std::string_view, const CRuntimeClass*> registry;
    return registry;
}

}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFF, nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* rc = this; rc; rc = rc->m_pBaseClass)
        if (rc == base)
            return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name)
{
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

CClassRegistration::CClassRegistration(const CRuntimeClass* rc)
{
    Registry().emplace(rc->m_lpszClassName, rc);
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* rc) const
{
    return GetRuntimeClass()->IsDerivedFrom(rc);
}
