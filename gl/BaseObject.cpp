#include "gl/BaseObject.h"

bool CBaseObject::Init()
{
    return false;
}
