#pragma once
// A robot description (URDF) read with liburdfdom: the chain from the root
// link to the sixth revolute joint as a SerialArm, and every visual of the
// links that move with one of the seven bodies (the base and the six links
// the joints turn), fixed links such as flange or tool0 joining the body
// they are fixed to.
#include "tools/arm/SerialArm.h"

#include <string>
#include <vector>

struct LinkVisual {
    int body;               // 0 the base .. 6 the link the sixth joint turns
    std::string link;       // the description's link that carries it
    KDL::Frame place;       // the mesh's frame in the body's frame, metres
    std::string meshFile;   // resolved path; empty when the file is not found
    std::string written;    // the path as the description writes it
    double scale[3];        // the mesh's own scale
    bool coloured = false;  // the material gives a colour
    double rgba[4] = {0, 0, 0, 1};
};

struct UrdfArm {
    std::string name;
    SerialArm chain;
    std::string flangeLink;  // flange, tool0, or the sixth joint's child
    std::vector<LinkVisual> visuals;
};

// False with one French record when the file cannot be read (not a plain
// file, over 16 MB, XML nested over 100 deep), when its joints make no tree
// (a loop) or one over 1,000 links deep, when a number is outside
// ArmBounds.h, when its chain is not six revolute joints from the root, or
// when a visual's mesh cannot be found.
bool ReadUrdfArm(const std::string& path, UrdfArm* arm);
// The same from the description's text; `path` names it in the records,
// meshes are looked for from `dir`.
bool ReadUrdfText(const std::string& text, const std::string& path, const std::string& dir, UrdfArm* arm);

// Where a mesh named in a description is: "package://NAME/rest" is looked
// for as a folder NAME in the description's folder and each folder above it,
// "file://" and plain paths are taken as they are (a relative one from the
// description's folder). Empty when no such file exists.
std::string ResolveMeshPath(const std::string& uri, const std::string& descriptionDir);
