#pragma once
// Joint angles repeat every 360 degrees; the panel's spinners do not.

// The angle moved by a whole number of turns into [low, high], choosing the
// turn count that lands nearest to `current`. When no whole turn fits (or
// the limits are reversed, or the angle is not finite) the angle comes back
// unchanged, for the spinner to clamp.
float ShiftIntoLimits(float angle, float low, float high, float current);
