#pragma once

#include "platform/gdi/CGdiObject.h"

// "宋体" and the other Windows CJK faces draw in WenQuanYi Micro Hei.
class CFont : public CGdiObject {
public:
    bool CreateFontIndirect(const LOGFONTW* font);
    bool CreateFont(int height, int width, int escapement, int orientation, int weight,
                    unsigned italic, unsigned underline, unsigned strikeOut, unsigned charSet,
                    unsigned outPrecision, unsigned clipPrecision, unsigned quality,
                    unsigned pitchAndFamily, const char16_t* faceName);
    // Size in tenths of a point at 96 pixels per inch.
    bool CreatePointFont(int pointSizeTenths, const char16_t* faceName);
    bool GetLogFont(LOGFONTW* font) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    static CFont* FromHandle(HFONT font);
};
