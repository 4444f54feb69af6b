#pragma once

// Registers the generator dialogs with the document's menu commands and the
// array panel with the main frame. The drawing program calls it once at
// start-up; tests that open these dialogs call it in their set-up.
void InstallGenerators();
