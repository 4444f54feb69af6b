#pragma once
// The handle-style drawing calls (an HDC is a CDC*), for code written
// against them; each forwards to the CDC member of the same meaning.

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"

inline HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) { return dc->SelectObject(object); }
inline int SetROP2(HDC dc, int rop) { return dc->SetROP2(rop); }
inline int GetROP2(HDC dc) { return dc->GetROP2(); }
inline int SetBkMode(HDC dc, int mode) { return dc->SetBkMode(mode); }
inline int GetBkMode(HDC dc) { return dc->GetBkMode(); }
inline COLORREF SetBkColor(HDC dc, COLORREF color) { return dc->SetBkColor(color); }
inline COLORREF SetTextColor(HDC dc, COLORREF color) { return dc->SetTextColor(color); }
inline unsigned SetTextAlign(HDC dc, unsigned flags) { return dc->SetTextAlign(flags); }

inline bool MoveToEx(HDC dc, int x, int y, POINT* previous)
{
    const CPoint old = dc->MoveTo(x, y);
    if (previous != nullptr)
        *previous = old;
    return true;
}
inline bool LineTo(HDC dc, int x, int y) { return dc->LineTo(x, y); }
inline bool Polyline(HDC dc, const POINT* points, int count) { return dc->Polyline(points, count); }
inline bool Polygon(HDC dc, const POINT* points, int count) { return dc->Polygon(points, count); }
inline bool Rectangle(HDC dc, int l, int t, int r, int b) { return dc->Rectangle(l, t, r, b); }
inline bool Ellipse(HDC dc, int l, int t, int r, int b) { return dc->Ellipse(l, t, r, b); }
inline int FillRect(HDC dc, const RECT* r, HBRUSH brush)
{
    dc->FillRect(r, brush);
    return 1;
}
inline COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) { return dc->SetPixel(x, y, color); }
inline COLORREF GetPixel(HDC dc, int x, int y) { return dc->GetPixel(x, y); }
inline bool ExtTextOutW(HDC dc, int x, int y, unsigned options, const RECT* rect,
                        const char16_t* text, unsigned count, const int* advances)
{
    return dc->ExtTextOut(x, y, options, rect, text, int(count), advances);
}
inline bool TextOutW(HDC dc, int x, int y, const char16_t* text, int count)
{
    return dc->TextOut(x, y, text, count);
}
inline bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, std::uint32_t rop)
{
    return dst->BitBlt(x, y, w, h, src, xs, ys, rop);
}
