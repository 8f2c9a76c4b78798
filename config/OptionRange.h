#pragma once
// The values a number key of an option file may take: finite, within
// [low ; high], with 0 standing apart where it means something of its own
// (an acceleration of 0 is "no limit") or nothing at all (a field of view of
// 0 shows nothing). A value outside its range is recorded at start and the
// key's default takes its place.
#include <string>

struct OptionRange {
    enum class Zero {
        Ordinary,  // 0 is in the range when [low ; high] holds it
        Allowed,   // 0 is in the range besides [low ; high]
        Excluded,  // 0 is not, though [low ; high] holds it
    };
    double low;
    double high;
    Zero zero = Zero::Ordinary;

    // Every finite value.
    static OptionRange Any();
    static OptionRange Between(double low, double high) { return {low, high, Zero::Ordinary}; }
    static OptionRange ZeroOrBetween(double low, double high) { return {low, high, Zero::Allowed}; }
    static OptionRange NonZeroBetween(double low, double high) { return {low, high, Zero::Excluded}; }

    bool Contains(double value) const;
    // In French, as the records and the README write it: "[1 ; 100000]",
    // "0 ou [0,1 ; 100000]", "[-179 ; 179] sauf 0", "tout nombre fini".
    std::string Text() const;
};
