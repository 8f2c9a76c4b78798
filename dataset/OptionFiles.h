#pragma once
// The four option files of a data directory and every key each declares, for
// the simulator's start (unknown keys are recorded) and the data check.
#include "config/OptionKeys.h"

#include <string>
#include <vector>

struct OptionFile {
    const char* fileName;  // "graphics.opt", ...
    // False only for glui.opt: without it the panel takes every default and
    // the simulator still starts. The three others stop the start-up.
    bool required;
    std::vector<OptionKey> keys;
};

// graphics.opt, glui.opt, decor.opt, robot.opt: the order of their checks.
const std::vector<OptionFile>& OptionFiles();

// The file whose name is the last part of `path`, compared without regard to
// ASCII case (a data set may sit on a file system that ignores it), or
// nullptr.
const OptionFile* FindOptionFile(const char* path);
// The key of that name (case-sensitive, like the lookups), or nullptr.
const OptionKey* FindOptionKey(const OptionFile& file, const std::string& name);

// What to say of a key the file does not declare: that it belongs to
// another file, or the declared key it was probably meant to be
// ("vouliez-vous dire fUpperArmSizeX ?"), or that nothing reads it. One
// French sentence that starts with the key.
std::string UnknownKeyAdvice(const OptionFile& file, const std::string& name);
