#pragma once
// The data-directory check: what the simulator will make of the four option
// files and of every mesh and texture they name, said in French.

// Changes into dataDir, prints the report on standard output and returns the
// process status: 0 when the simulator would start (warnings allowed), 1
// when it would stop.
int CheckDataDirectory(const char* dataDir);
