#pragma once

// The toolkit's own texts (file and colour dialogs, standard buttons, edit
// menus) in the program's language.

#include "platform/core/CString.h"

// Loads the toolkit's translations for the locale ("zh_CN") from the
// system's translation folder; false when they are not installed.
bool LoadToolkitTranslations(const CString& locale);
