#include "platform/gdi/CRect.h"

#include <algorithm>
#include <utility>

bool CRect::EqualRect(const RECT* r) const
{
    return left == r->left && top == r->top && right == r->right && bottom == r->bottom;
}

void CRect::InflateRect(int l, int t, int r, int b)
{
    left -= l;
    top -= t;
    right += r;
    bottom += b;
}

void CRect::OffsetRect(int dx, int dy)
{
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

bool CRect::IntersectRect(const RECT* a, const RECT* b)
{
    const CRect out(std::max(a->left, b->left), std::max(a->top, b->top),
                    std::min(a->right, b->right), std::min(a->bottom, b->bottom));
    if (out.IsRectEmpty()) {
        SetRectEmpty();
        return false;
    }
    *this = out;
    return true;
}

bool CRect::UnionRect(const RECT* a, const RECT* b)
{
    const CRect ra(a), rb(b);
    if (ra.IsRectEmpty() && rb.IsRectEmpty()) {
        SetRectEmpty();
        return false;
    }
    if (ra.IsRectEmpty()) {
        *this = rb;
        return true;
    }
    if (rb.IsRectEmpty()) {
        *this = ra;
        return true;
    }
    SetRect(std::min(ra.left, rb.left), std::min(ra.top, rb.top),
            std::max(ra.right, rb.right), std::max(ra.bottom, rb.bottom));
    return true;
}

bool SetRect(RECT* r, int left, int top, int right, int bottom)
{
    if (r == nullptr)
        return false;
    *r = RECT{left, top, right, bottom};
    return true;
}

bool SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }

bool CopyRect(RECT* dst, const RECT* src)
{
    if (dst == nullptr || src == nullptr)
        return false;
    *dst = *src;
    return true;
}

bool InflateRect(RECT* r, int dx, int dy)
{
    if (r == nullptr)
        return false;
    CRect c(*r);
    c.InflateRect(dx, dy);
    *r = c;
    return true;
}

bool OffsetRect(RECT* r, int dx, int dy)
{
    if (r == nullptr)
        return false;
    CRect c(*r);
    c.OffsetRect(dx, dy);
    *r = c;
    return true;
}

bool PtInRect(const RECT* r, POINT p) { return r != nullptr && CRect(*r).PtInRect(p); }

bool IsRectEmpty(const RECT* r) { return r == nullptr || CRect(*r).IsRectEmpty(); }

bool EqualRect(const RECT* a, const RECT* b) { return a && b && CRect(*a).EqualRect(b); }

bool IntersectRect(RECT* dst, const RECT* a, const RECT* b)
{
    CRect out;
    const bool any = out.IntersectRect(a, b);
    *dst = out;
    return any;
}

bool UnionRect(RECT* dst, const RECT* a, const RECT* b)
{
    CRect out;
    const bool any = out.UnionRect(a, b);
    *dst = out;
    return any;
}
