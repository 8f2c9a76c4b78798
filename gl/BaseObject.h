#pragma once
// The base of the scene's drawable objects (meshes, the decoration, the
// axes): drawn in the caller's GL state, initialised once.

class CBaseObject {
public:
    virtual ~CBaseObject() = default;
    virtual void Draw() = 0;
    virtual bool Init();
};

// Three coloured axes from the origin, 5 units long: X blue, Y green, Z red.
class CAxes : public CBaseObject {
public:
    void Draw() override;
    bool Init() override;
};
