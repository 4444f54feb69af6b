#pragma once

// The view keeps some persisted settings in globals of its own; this ties
// them to the settings blocks that the settings file saves and loads.

// Adds the view's copy-in/copy-out pair to g_SettingsSyncs once; when the
// settings file was loaded already, the view's globals take its values now.
// Also installs the view's part of the factory reset.
void RegisterViewSettingsSync();
// The view's globals take the values of the settings blocks now.
void CopyViewSettingsFromBlocks();
// The 3-D path display settings the path drawing reads from the block
// take the view's values now (the drawing cannot see the view's globals).
void Path3DSettingsToBlocks();
