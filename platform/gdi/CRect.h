#pragma once

#include "platform/gdi/CPoint.h"
#include "platform/gdi/CSize.h"
#include "platform/gdi/gdi_types.h"

// A rectangle whose right and bottom edges lie just outside it.
class CRect : public RECT {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b) { SetRect(l, t, r, b); }
    CRect(const RECT& r) : RECT(r) {}
    CRect(const RECT* r) : RECT(*r) {}
    CRect(POINT topLeft, SIZE size) { SetRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy); }
    CRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool EqualRect(const RECT* r) const;

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* r) { *static_cast<RECT*>(this) = *r; }
    void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b);
    void InflateRect(const RECT* r) { InflateRect(r->left, r->top, r->right, r->bottom); }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void DeflateRect(const RECT* r) { DeflateRect(r->left, r->top, r->right, r->bottom); }
    void OffsetRect(int dx, int dy);
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void MoveToX(int x) { OffsetRect(x - left, 0); }
    void MoveToY(int y) { OffsetRect(0, y - top); }
    void NormalizeRect();
    // Both return false and leave an empty rectangle when there is no overlap
    // (Intersect) or both inputs are empty (Union).
    bool IntersectRect(const RECT* a, const RECT* b);
    bool UnionRect(const RECT* a, const RECT* b);

    operator RECT*() { return this; }
    operator const RECT*() const { return this; }

    bool operator==(const RECT& r) const { return EqualRect(&r); }
    bool operator!=(const RECT& r) const { return !EqualRect(&r); }
    CRect& operator+=(POINT p) { OffsetRect(p); return *this; }
    CRect& operator-=(POINT p) { OffsetRect(-p.x, -p.y); return *this; }
    CRect operator+(POINT p) const { CRect r(*this); r.OffsetRect(p); return r; }
    CRect operator-(POINT p) const { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
    CRect& operator&=(const RECT& r) { IntersectRect(this, &r); return *this; }
    CRect& operator|=(const RECT& r) { UnionRect(this, &r); return *this; }
    CRect operator&(const RECT& r) const { CRect out; out.IntersectRect(this, &r); return out; }
    CRect operator|(const RECT& r) const { CRect out; out.UnionRect(this, &r); return out; }
};

// The same operations on a plain RECT, as drawing code calls them.
bool SetRect(RECT* r, int left, int top, int right, int bottom);
bool SetRectEmpty(RECT* r);
bool CopyRect(RECT* dst, const RECT* src);
bool InflateRect(RECT* r, int dx, int dy);
bool OffsetRect(RECT* r, int dx, int dy);
bool PtInRect(const RECT* r, POINT p);
bool IsRectEmpty(const RECT* r);
bool EqualRect(const RECT* a, const RECT* b);
bool IntersectRect(RECT* dst, const RECT* a, const RECT* b);
bool UnionRect(RECT* dst, const RECT* a, const RECT* b);
