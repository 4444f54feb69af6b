#pragma once

// The settings file "data\config" and its backup "data\config_back": two
// zero words, the MD5 of the body, then the ten settings blocks raw.
//
//    0  4  zero            1824   40  g_CutParams
//    4  4  zero            1864  148  DrawingSettings
//    8 16  MD5 of 24..end  2012  208  CalcInputs
//   24 24  view block      2220   96  ArraySettings
//   48 1776 machining      2316   17  command modes
//                          2333    6  file dialog block
//                          2339   56  GearParams
//                          2395   48  RackParams

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/CString.h"

constexpr std::size_t kSettingsFileSize = 2443;
constexpr std::size_t kSettingsBodyOffset = 24;
constexpr std::size_t kSettingsBodySize = kSettingsFileSize - kSettingsBodyOffset;

// Factory values of every settings block but the cut tables, and of the
// run-time values that go with them.
void ResetSettingsDefaults();
// Factory cut tables of the machining block and g_CutParams (start-up).
void ResetProcessDefaults();
// The restore-defaults command: the factory settings and, so that no cut is
// left with a pulse width of 0, the factory cut tables again; g_CutParams
// keeps its value. Sets g_SettingsDirty.
void RestoreDefaultSettings();

// The file's bytes from the current globals, digest included.
std::vector<std::uint8_t> BuildSettingsImage();

CString SettingsFilePath();
CString SettingsBackupPath();

// Loads "config", or "config_back" when the main file is rejected (then the
// backup also replaces the main file). The globals change only when a whole
// valid file was read. Afterwards the view transform is remembered as the
// loaded one. Returns whether a file was loaded.
bool LoadSettingsFile();
// Writes both files, each replaced atomically; false when either failed.
bool SaveSettingsFile();
// At exit: saves when the view moved since loading or g_SettingsDirty is
// set (which it clears first); true when nothing needed saving.
bool SaveSettingsIfChanged();
