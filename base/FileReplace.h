#pragma once
// Writing a file so that it is either wholly new or as it was: the bytes go
// to a temporary file beside it, which replaces it only once every write,
// the flush, the sync and the close succeeded. A full disk or a write error
// never leaves a truncated file where a good one was.
#include <cstdio>
#include <functional>

// write fills the temporary; false from it, or any failure after, removes
// the temporary and leaves fileName alone. False as well when the temporary
// cannot be created (the directory is not writable). Pure file code.
bool ReplaceFile(const char* fileName, const std::function<bool(FILE*)>& write);
