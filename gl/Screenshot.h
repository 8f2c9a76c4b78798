#pragma once
// The graphics window's picture, drawn afresh and read back.

// Draws the window's frame afresh and reads it into fileName: PNG when the
// name ends in ".png", TGA otherwise. False when the picture could not be
// written. The graphics window must be current.
bool SaveScreenshot(const char* fileName);
