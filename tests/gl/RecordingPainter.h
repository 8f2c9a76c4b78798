#pragma once
// A painter that keeps what a panel canvas asks it to draw, so that tests
// check what a person would see: which texts, where and in what colour,
// which lines and curves. Text is measured as a fixed-width font would be:
// kCharWidth pixels a character (UTF-8 characters, not bytes), kTextHeight
// high.
#include "glui/Glui.h"

#include <string>
#include <vector>

struct RecordingPainter : GLUI_Painter {
    static constexpr float kCharWidth = 7.0f;
    static constexpr float kTextHeight = 13.0f;

    struct Segment {
        float x0, y0, x1, y1;
        GLUI_Colour colour;
        float thickness;
    };
    struct Curve {
        std::vector<float> xy;  // x0, y0, x1, y1, ...
        GLUI_Colour colour;
        float thickness;
        int Count() const { return static_cast<int>(xy.size() / 2); }
    };
    struct Words {
        float x, y;
        GLUI_Colour colour;
        std::string text;
        float Right() const { return x + Width(text); }
    };

    void Line(float x0, float y0, float x1, float y1, GLUI_Colour colour, float thickness) override
    {
        lines.push_back({x0, y0, x1, y1, colour, thickness});
    }
    void Polyline(const float* xy, int count, GLUI_Colour colour, float thickness) override
    {
        curves.push_back({std::vector<float>(xy, xy + 2 * count), colour, thickness});
    }
    void Text(float x, float y, GLUI_Colour colour, const char* utf8) override
    {
        texts.push_back({x, y, colour, utf8});
    }
    float TextWidth(const char* utf8) override { return Width(utf8); }
    float TextHeight() override { return kTextHeight; }

    static float Width(const std::string& utf8)
    {
        int characters = 0;
        for (const char c : utf8)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return kCharWidth * static_cast<float>(characters);
    }
    // The first text that is exactly `text`; nullptr when none was drawn.
    const Words* Find(const std::string& text) const
    {
        for (const Words& w : texts)
            if (w.text == text)
                return &w;
        return nullptr;
    }

    std::vector<Segment> lines;
    std::vector<Curve> curves;
    std::vector<Words> texts;
};

// Colours as a person names them.
inline bool IsRed(const GLUI_Colour& c)
{
    return c.r > 0.8f && c.g < 0.5f && c.b < 0.5f;
}
inline bool IsOrange(const GLUI_Colour& c)
{
    return c.r > 0.8f && c.g > 0.4f && c.g < 0.8f && c.b < 0.3f;
}
inline bool IsGrey(const GLUI_Colour& c)
{
    return c.r - c.g < 0.1f && c.g - c.r < 0.1f && c.g - c.b < 0.1f && c.b - c.g < 0.1f;
}
inline bool SameColour(const GLUI_Colour& a, const GLUI_Colour& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
