#pragma once
// The display switches the panel, the keys and scripts turn on and off.
enum class DisplayFlag { WireFrame, Decoration, Reflect, Shadows, MetalLook, Axes };
