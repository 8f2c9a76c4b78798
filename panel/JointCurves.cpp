#include "panel/JointCurves.h"

#include "base/FrenchDecimal.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const GLUI_Colour kJointColours[kJointCount] = {
    {0.95f, 0.35f, 0.35f, 1}, {0.95f, 0.65f, 0.2f, 1}, {0.9f, 0.9f, 0.3f, 1},
    {0.4f, 0.85f, 0.4f, 1},   {0.35f, 0.7f, 1.0f, 1},  {0.8f, 0.5f, 1.0f, 1},
};
const GLUI_Colour kFrame = {0.5f, 0.5f, 0.55f, 1};
const GLUI_Colour kText = {0.85f, 0.85f, 0.85f, 1};

struct Box {
    float x, y, w, h;
};

// One plot: a frame, its title and its range, then each joint's values
// against time, with horizontal lines at `limits` (none when null).
void Plot(GLUI_Painter& p, const Box& box, const char* title, const std::vector<double>& times,
          const std::vector<JointAngles>& values, const float* limits, double duration)
{
    float lo = 0.0f, hi = 0.0f;
    for (const JointAngles& v : values)
        for (float JointAngles::*joint : kJointFields) {
            lo = std::min(lo, v.*joint);
            hi = std::max(hi, v.*joint);
        }
    if (limits)
        for (int j = 0; j < kJointCount; ++j) {
            lo = std::min(lo, -limits[j]);
            hi = std::max(hi, limits[j]);
        }
    if (hi - lo < 1e-3f)
        hi = lo + 1.0f;
    const float pad = 0.05f * (hi - lo);
    lo -= pad;
    hi += pad;
    auto X = [&](double t) { return box.x + static_cast<float>(duration > 0 ? t / duration : 0) * box.w; };
    auto Y = [&](float v) { return box.y + box.h * (hi - v) / (hi - lo); };

    const float frame[] = {box.x,         box.y, box.x + box.w, box.y, box.x + box.w,
                           box.y + box.h, box.x, box.y + box.h, box.x, box.y};
    p.Polyline(frame, 5, kFrame);
    if (lo < 0 && hi > 0)
        p.Line(box.x, Y(0), box.x + box.w, Y(0), {0.4f, 0.4f, 0.45f, 1});
    // The title and the range above the frame's top and bottom values, left.
    p.Text(box.x + 3, box.y + 1, kText, title);
    const std::string top = "max " + FormatDecimal(hi, 0), bottom = "min " + FormatDecimal(lo, 0);
    p.Text(box.x + 3 + p.TextWidth(title) + 12, box.y + 1, kFrame, top.c_str());
    p.Text(box.x + 3, box.y + box.h - p.TextHeight() - 1, kFrame, bottom.c_str());
    for (int j = 0; j < kJointCount; ++j) {
        GLUI_Colour c = kJointColours[j];
        if (limits) {
            // The limit as a dashed line, both ways.
            GLUI_Colour faint{c.r, c.g, c.b, 0.45f};
            for (float sign : {1.0f, -1.0f})
                for (float x = box.x; x < box.x + box.w; x += 8)
                    p.Line(x, Y(sign * limits[j]), std::min(x + 4, box.x + box.w), Y(sign * limits[j]), faint);
        }
        std::vector<float> xy;
        xy.reserve(2 * values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            xy.push_back(X(times[i]));
            xy.push_back(Y(values[i].*kJointFields[j]));
        }
        if (values.size() > 1)
            p.Polyline(xy.data(), static_cast<int>(values.size()), c, 1.5f);
    }
}

}  // namespace

void DrawJointCurves(GLUI_Painter& p, int width, int height, const CMotionRecorder& recorder, const ArmDescription& arm)
{
    const float line = p.TextHeight();
    // The legend: each joint's name in its colour.
    float x = 0;
    for (int j = 0; j < kJointCount; ++j) {
        const std::string name = JointName(j);
        p.Text(x, 0, kJointColours[j], name.c_str());
        x += p.TextWidth(name.c_str()) + 10;
    }
    // The rows `record` writes, then no more points than pixels across.
    const std::vector<MotionSample> even = recorder.Rows(kRecordStep);
    const float plotsTop = line + 4, plotsBottom = static_cast<float>(height) - line - 4;
    const float plotHeight = (plotsBottom - plotsTop - 6) / 2;
    if (even.size() < 2) {
        p.Text(0, plotsTop, kText, "Pas encore de mouvement.");
        return;
    }
    const double duration = even.back().t;
    const std::vector<JointAngles> allSpeeds = JointSpeeds(even);
    const std::size_t stride = std::max<std::size_t>(1, even.size() / static_cast<std::size_t>(std::max(width, 1)));
    std::vector<double> times;
    std::vector<JointAngles> angles, speeds;
    for (std::size_t i = 0; i < even.size(); i += stride) {
        times.push_back(even[i].t);
        angles.push_back(even[i].angles);
        speeds.push_back(allSpeeds[i]);
    }
    const float w = static_cast<float>(width) - 1;
    Plot(p, {0, plotsTop, w, plotHeight}, "Angles (°)", times, angles, nullptr, duration);
    Plot(p, {0, plotsTop + plotHeight + 6, w, plotHeight}, "Vitesses (°/s)", times, speeds, arm.maxSpeed, duration);
    const std::string under = (recorder.Running() ? "En cours : " : "Durée : ") + FormatDecimal(duration, 2) + " s";
    p.Text(0, static_cast<float>(height) - line, kText, under.c_str());
}
