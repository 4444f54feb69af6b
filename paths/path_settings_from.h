#pragma once

// The engine's copy of the machining settings, made by the caller when a
// request starts (wirepath/PathSettings.h).

#include <cstdint>

#include "wirepath/PathSettings.h"

struct MachiningSettings;

PathSettings PathSettingsFrom(const MachiningSettings& block, const CutParams& cut, std::uint8_t cutMode);
// What multi-pass finishing reads of the block (PathSettingsFrom fills it).
PassSettings PassSettingsFrom(const MachiningSettings& block);
