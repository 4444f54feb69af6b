#pragma once
// Bridges for the Qt side of the platform (widgets, painting of controls).

#include "platform/gdi/gdi_types.h"

#include <QColor>
#include <QFont>

class QImage;

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// The Qt font a LOGFONT stands for (face mapping and size rules of CDC text).
QFont FontFromLogFont(const LOGFONTW& font);
// False for an unknown handle.
bool QFontFromHandle(HFONT font, QFont* out);
// The image of a bitmap (shares its pixels); null image for an unknown handle.
QImage BitmapImage(HBITMAP bitmap);
// The face that stands in for a Windows face name.
QString MapFontFace(const char16_t* windowsFace);
