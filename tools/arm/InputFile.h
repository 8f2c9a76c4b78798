#pragma once
// The files kalimbrax-arm reads (a robot description, a data sheet, a
// template's files): plain files only, checked before they are opened. A
// FIFO would block the reading forever, a directory reads as nothing (an
// empty data sheet is the example arm) or aborts the description's reader,
// a device never ends.
#include <cstddef>
#include <string>

// True for a plain file within maxBytes; otherwise false with one French
// record "<who> -- <path> : <why>".
bool CheckInputFile(const std::string& path, std::size_t maxBytes, const char* who);

// The whole file, after CheckInputFile. False with one French record.
bool ReadInputFile(const std::string& path, std::size_t maxBytes, const char* who, std::string* bytes);
