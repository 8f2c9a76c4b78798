#include "app/BaseObject.h"

bool CBaseObject::Init()
{
    return false;
}
