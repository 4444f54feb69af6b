#pragma once

// Registers the path dialogs with the document's menu commands (the
// single-pass and multi-pass dialogs by their numbers) and the batch dialog
// and compensation table with the main frame. The drawing program calls it
// once at start-up; tests that open these dialogs call it in their set-up.
void InstallPathDialogs();
