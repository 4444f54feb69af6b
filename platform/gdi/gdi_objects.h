#pragma once
// Creation, lookup and deletion of pens, brushes, fonts and bitmaps by handle.
// Handles are valid in every thread; a deleted handle is no longer found, so
// a stale one selects nothing instead of reaching freed memory.

#include "platform/gdi/gdi_types.h"

#include <cstdint>

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontIndirectW(const LOGFONTW* font);
inline HFONT CreateFontIndirect(const LOGFONTW* font) { return CreateFontIndirectW(font); }
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight,
                  unsigned italic, unsigned underline, unsigned strikeOut, unsigned charSet,
                  unsigned outPrecision, unsigned clipPrecision, unsigned quality,
                  unsigned pitchAndFamily, const char16_t* faceName);

// A 16-bit (RGB565 bit fields, or 5-5-5 without masks) or 32-bit section
// whose pixels start zeroed; *bits receives their address. Only top-down
// sections (negative biHeight) are made: null otherwise.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, unsigned usage, void** bits,
                         void* section = nullptr, std::uint32_t offset = 0);
// A bitmap over the caller's pixels (16 = RGB565, 32 = 0x00RRGGBB words);
// stride must be a multiple of 4. The memory must outlive the bitmap.
HBITMAP CreateBitmapOverMemory(int width, int height, int stride, int bitsPerPixel, void* bits);
// A 32-bit bitmap (the device format of every window).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

HGDIOBJ GetStockObject(int id);
// Stock objects ignore deletion; false for an unknown handle.
bool DeleteObject(HGDIOBJ object);
// Fills a LOGPEN, LOGBRUSH, LOGFONTW or BITMAP; returns the bytes written,
// 0 for an unknown handle or a too small buffer.
int GetObjectW(HGDIOBJ object, int size, void* out);
inline int GetObject(HGDIOBJ object, int size, void* out) { return GetObjectW(object, size, out); }

enum class GdiKind { none, pen, brush, font, bitmap };
GdiKind GetObjectKind(HGDIOBJ object);

COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// Live objects created by the program (stock objects and system brushes
// not counted): the leak check of code that replaces its brushes.
int GetGdiObjectCount();
