#pragma once

// Colours and line types of DXF group values.

#include <cstdint>
#include <string_view>

#include "platform/gdi/gdi_types.h"

// The colour of a colour index 0..255 (0 and 7 white, 1 red, ...); the
// standard hue wheel from 10 to 249, greys from 250 to 255.
COLORREF DxfIndexColour(int index);

// Line style of a line type name (case ignored): "HIDDEN" dashed,
// "CENTER" dashed with dash-dot; false for every other name.
bool DxfLineType(std::string_view name, std::int32_t& lineStyle, std::uint8_t& dashDot);
