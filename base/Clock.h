#pragma once
// The program's clock: seconds on a monotonic clock, from an arbitrary
// origin. The idle callback feeds it to the simulation and the command
// timer to the hub; tests feed them times of their own instead.
double MonotonicSeconds();
