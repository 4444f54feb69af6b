#pragma once

// Registers the dialogs of the process folder with the document's menu
// commands. The drawing program calls it once at start-up; tests that open
// these dialogs call it in their set-up.
void InstallProcessDialogs();
