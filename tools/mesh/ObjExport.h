#pragma once
// Wavefront OBJ text copy of a binary mesh, for any viewer.
#include "formats/MeshFormat.h"

#include <string>

struct ExportNotes {
    int inexactNumbers = 0;  // values that no text tried reads back bit for bit
};

// Writes v, vn, vt (when textured) and f a/b/c lines (a//c untextured).
// Numbers are printed "%.9g", which any correct reader takes back to the same
// float; where the importer's own number reader would not, another spelling
// of the same float that it does read exactly is chosen, so that importing
// the copy gives back the same binary file. False with a French explanation.
bool ExportObj(const MeshData& mesh, const char* output, ExportNotes& notes, std::string& error);
