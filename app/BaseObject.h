#pragma once
// The named base of every drawable object, and the program-wide list of the
// live ones (bookkeeping only: nothing reads it to draw).
#include <list>
#include <string>

class CBaseObject {
public:
    CBaseObject();
    ~CBaseObject();  // objects are destroyed only as members of their owners
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;

    virtual void Draw() = 0;
    virtual bool Init();

    std::string m_sName;
};

// Live objects in order of construction, and their count.
struct CObjectList {
    std::list<CBaseObject*> objects;
    int count = 0;
};
extern CObjectList g_ObjectList;

// Three coloured axes from the origin, 5 units long: X blue, Y green, Z red.
class CAxes : public CBaseObject {
public:
    void Draw() override;
    bool Init() override;
};
