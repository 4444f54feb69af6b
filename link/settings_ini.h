#pragma once

#include "platform/core/CString.h"

// "settting.ini": the five remembered check boxes (g_LinkSettings) and the
// current scheme name, GBK text with CR LF line ends.
CString SettingsIniPath();
// schemeText: the scheme combo's text, cut before its first point.
bool SaveSettingsIni(const CString& schemeText);
void LoadSettingsIni();
