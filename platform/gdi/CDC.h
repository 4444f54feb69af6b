#pragma once

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CPoint.h"
#include "platform/gdi/CRect.h"
#include "platform/gdi/CSize.h"
#include "platform/gdi/gdi_types.h"

#include <memory>

class CFrontImage;
class RowDamage;
class QImage;

struct TEXTMETRICW {
    std::int32_t tmHeight = 0;
    std::int32_t tmAscent = 0;
    std::int32_t tmDescent = 0;
    std::int32_t tmInternalLeading = 0;
    std::int32_t tmExternalLeading = 0;
    std::int32_t tmAveCharWidth = 0;
    std::int32_t tmMaxCharWidth = 0;
    std::int32_t tmWeight = 0;
};
using TEXTMETRIC = TEXTMETRICW;

// A device context over a raster image (32-bit, or RGB565 for DIB sections).
// Lines, outlines and fills go through our own rasteriser with the pixel rules
// of the Windows GDI (LineTo leaves out its last pixel, rectangles their right
// and bottom edges) and the binary raster operation applied to device pixel
// values, so drawing a mark twice in XOR or NOT-XOR restores every pixel, on
// both formats. Text goes through QPainter with Qt fonts; text and font
// metrics need a QGuiApplication to exist (without one, text draws nothing).
// One thread uses a DC at a time, and a DC over a front image is released by
// the thread that attached it (it holds the image's lock); different DCs may
// run in different threads.
class CDC {
public:
    CDC();
    // Client DC over a window's front image: holds its lock until released.
    explicit CDC(CFrontImage& front);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Targets. A memory DC draws into the bitmap selected into it.
    bool CreateCompatibleDC(CDC* dc);
    bool AttachImage(QImage* image); // RGB32, ARGB32 or RGB16; not owned
    bool AttachFrontImage(CFrontImage* front);
    // Drops the target (unlocks a front image and reports its changes).
    void ReleaseTarget();
    bool DeleteDC();
    HDC GetSafeHdc() { return this; }
    QImage* GetImage() const; // current target, or null
    // The front image this DC draws into, or null.
    CFrontImage* FrontImage() const;
    // Every pixel this DC changes from now on is also marked in damage
    // (null: none); not owned.
    void SetDamage(RowDamage* damage);
    CRect GetClipBox() const; // logical coordinates

    // Objects. Each returns the previously selected object (null when the
    // new one is unknown, which leaves the selection unchanged).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int id);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // Attributes.
    int SetROP2(int rop);
    int GetROP2() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    unsigned SetTextAlign(unsigned flags);
    unsigned GetTextAlign() const;
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const;
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT* r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    void ResetClip(); // back to the whole target
    int SaveDC();
    bool RestoreDC(int saved); // -1: the last saved state

    // Lines and shapes: drawn with the pen, filled with the brush, both
    // through the raster operation.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    CPoint GetCurrentPosition() const;
    bool LineTo(int x, int y);
    bool LineTo(POINT p) { return LineTo(p.x, p.y); }
    bool Polyline(const POINT* points, int count);
    bool Polygon(const POINT* points, int count);
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const RECT* r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const RECT* r) { return Ellipse(r->left, r->top, r->right, r->bottom); }

    // Rectangle fills: these ignore the raster operation.
    void FillRect(const RECT* r, CBrush* brush);
    void FillRect(const RECT* r, HBRUSH brush);
    // Also makes the colour the background colour, as callers expect.
    void FillSolidRect(const RECT* r, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(const RECT* r, CBrush* brush);
    void Draw3dRect(const RECT* r, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    // Dotted, inverting: a second call removes it.
    void DrawFocusRect(const RECT* r);
    void InvertRect(const RECT* r);
    bool PatBlt(int x, int y, int width, int height, std::uint32_t rop);

    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
    bool SetPixelV(int x, int y, COLORREF color) { return SetPixel(x, y, color) != CLR_INVALID; }
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }

    // Text. Strings are UTF-16; a count of -1 means up to the terminator.
    bool TextOut(int x, int y, const char16_t* text, int count = -1);
    bool ExtTextOut(int x, int y, unsigned options, const RECT* rect, const char16_t* text,
                    int count = -1, const int* advances = nullptr);
    bool ExtTextOut(int x, int y, unsigned options, const RECT* rect, const char16_t* text, const int* advances)
    {
        return ExtTextOut(x, y, options, rect, text, -1, advances);
    }
    // Returns the text height; DT_CALCRECT only measures into *rect.
    int DrawText(const char16_t* text, int count, RECT* rect, unsigned format);
    int DrawText(const char16_t* text, RECT* rect, unsigned format) { return DrawText(text, -1, rect, format); }
    CSize GetTextExtent(const char16_t* text, int count = -1) const;
    CSize GetOutputTextExtent(const char16_t* text, int count = -1) const { return GetTextExtent(text, count); }
    bool GetTextMetrics(TEXTMETRICW* metrics) const;

    bool BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                std::uint32_t rop);

    struct State;
    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};
