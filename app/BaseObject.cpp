#include "app/BaseObject.h"

#include <algorithm>

CObjectList g_ObjectList;

CBaseObject::CBaseObject() : m_sName("dummy")
{
    g_ObjectList.objects.push_back(this);
    ++g_ObjectList.count;
}

CBaseObject::~CBaseObject()
{
    auto& objects = g_ObjectList.objects;
    auto found = std::find(objects.begin(), objects.end(), this);
    if (found != objects.end()) {
        objects.erase(found);
        --g_ObjectList.count;
    }
}

bool CBaseObject::Init()
{
    return false;
}
