#include "platform/gdi/CFont.h"

#include "platform/gdi/gdi_objects.h"

bool CFont::CreateFontIndirect(const LOGFONTW* font) { return AttachNew(::CreateFontIndirectW(font)); }

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       unsigned italic, unsigned underline, unsigned strikeOut, unsigned charSet,
                       unsigned outPrecision, unsigned clipPrecision, unsigned quality,
                       unsigned pitchAndFamily, const char16_t* faceName)
{
    return AttachNew(::CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                                   strikeOut, charSet, outPrecision, clipPrecision, quality,
                                   pitchAndFamily, faceName));
}

bool CFont::CreatePointFont(int pointSizeTenths, const char16_t* faceName)
{
    // Character height in pixels at 96 dpi: tenths of a point * 96 / 720, rounded.
    const int height = -((pointSizeTenths * 96 + 360) / 720);
    return CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, faceName);
}

bool CFont::GetLogFont(LOGFONTW* font) const { return GetObject(sizeof(LOGFONTW), font) != 0; }

CFont* CFont::FromHandle(HFONT font)
{
    return GetObjectKind(font) == GdiKind::font ? static_cast<CFont*>(CGdiObject::FromHandle(font)) : nullptr;
}
