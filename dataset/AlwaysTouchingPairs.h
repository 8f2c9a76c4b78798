#pragma once
// robot.opt's strAlwaysTouching for a data directory already written: the
// pairs FindAlwaysTouching finds on its arm as the program will read it
// (robot.opt and glui.opt through LoadDataSet: offsets, angles, limits; the
// meshes the arm names through ReadLinkMeshes). The tools that write a data
// set write it whole, find these, then write robot.opt again with them: the
// key itself changes nothing the search reads.
#include "arm/LinkPairs.h"

#include <string>

// False, with one French sentence, when robot.opt or a link mesh cannot be
// read.
bool FindDataSetAlwaysTouching(const std::string& directory, CLinkPairs* pairs, std::string* reason);
