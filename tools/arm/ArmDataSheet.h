#pragma once
// The data-sheet description of an arm of the family, as kalimbrax-arm make
// reads it: the seven numbers of the usual ortho-parallel description and,
// per joint, the maker's numbering, limits and speed.
//
// The ortho-parallel arm at its own zero stands straight up: axis 1 is the
// base's z; the shoulder axis (along y) is a1 in front of it and c1 above
// the floor; the upper arm rises c2 to the elbow axis; the forearm rises c3
// more to the wrist centre, its roll axis a2 in front of the elbow axis
// (a2 is negative for most arms: their forearm passes above the elbow axis
// once stretched forward); b is a sideways offset (0 in the family); the
// flange is c4 above the wrist centre. Joints 2, 3 and 5 turn about y,
// 1, 4 and 6 about z, all positive the usual way. The maker's angle q of a
// joint is related to that arm's by: angle = zero + sense x q.
#include "tools/arm/SerialArm.h"

#include <string>

class COptionDeclarations;

struct ArmDataSheet {
    std::string name;
    float a1, a2, b, c1, c2, c3, c4;  // millimetres
    std::string jointName[kArmJoints];
    float zero[kArmJoints];  // degrees
    int sense[kArmJoints];
    float lower[kArmJoints], upper[kArmJoints];  // degrees, the maker's
    float speed[kArmJoints];                     // degrees per second
};

// The keys of a data-sheet file and their defaults (a mid-size example arm).
void DeclareDataSheetKeys(COptionDeclarations& keys, ArmDataSheet& sheet);

// Reads a data-sheet file ("" for the defaults alone). False with one French
// record for a file that cannot be read (not a plain file, over 1 MB), a key
// no data sheet has, a value the reader cannot read as its key's kind, a
// number not finite or outside ArmBounds.h, a sense other than 1 or -1, or
// limits in the wrong order.
bool ReadArmDataSheet(const std::string& file, ArmDataSheet* sheet);

// The arm as a chain of joints in the maker's angles. False with one French
// record when b is not 0.
bool DataSheetChain(const ArmDataSheet& sheet, SerialArm* chain);
