#include "platform/gdi/CDC.h"

#include "platform/gdi/CDC_impl.h"
#include "platform/gdi/CFrontImage.h"
#include "platform/gdi/gdi_objects.h"

#include <QImage>

gdi::PixelFormat FormatOf(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB16: return gdi::PixelFormat::rgb565;
    case QImage::Format_RGB555: return gdi::PixelFormat::rgb555;
    default: return gdi::PixelFormat::xrgb32;
    }
}

QImage::Format QtFormatOf(gdi::PixelFormat format)
{
    switch (format) {
    case gdi::PixelFormat::rgb565: return QImage::Format_RGB16;
    case gdi::PixelFormat::rgb555: return QImage::Format_RGB555;
    case gdi::PixelFormat::xrgb32: break;
    }
    return QImage::Format_RGB32;
}

CDC::Impl::Impl()
{
    GdiEntry e;
    s.pen = GetStockObject(BLACK_PEN);
    gdi::Lookup(s.pen, &e);
    s.penData = e.pen;
    s.brush = GetStockObject(WHITE_BRUSH);
    gdi::Lookup(s.brush, &e);
    s.brushData = e.brush;
    s.font = GetStockObject(SYSTEM_FONT);
    s.fontData = gdi::DefaultGuiFont();
}

gdi::Surface CDC::Impl::Surface() const
{
    gdi::Surface out;
    if (memoryDC) {
        if (!s.bitmapData)
            return out;
        const BitmapData& b = *s.bitmapData;
        out.bits = b.bits;
        out.width = b.width;
        out.height = b.height;
        out.stride = b.stride;
        out.format = FormatOf(b.format);
    } else {
        out.bits = bits;
        out.width = width;
        out.height = height;
        out.stride = stride;
        out.format = format;
    }
    out.clip = CRect(0, 0, out.width, out.height);
    if (s.clip)
        out.clip &= *s.clip;
    return out;
}

QImage CDC::Impl::WrapTarget() const
{
    const gdi::Surface sf = Surface();
    if (sf.bits == nullptr)
        return QImage();
    return QImage(sf.bits, sf.width, sf.height, sf.stride, QtFormatOf(sf.format));
}

void CDC::Impl::Touch(const CRect& device)
{
    CRect r = device;
    r.NormalizeRect();
    dirty |= r;
    if (damage != nullptr)
        damage->Mark(r.left, r.top, r.right, r.bottom);
    if (front != nullptr)
        front->MarkDamageLocked(r);
}

void CDC::SetDamage(RowDamage* damage)
{
    m_impl->damage = damage;
}

CFrontImage* CDC::FrontImage() const
{
    return m_impl->front;
}

CDC::CDC() : m_impl(std::make_unique<Impl>()) {}

CDC::CDC(CFrontImage& front) : CDC() { AttachFrontImage(&front); }

CDC::~CDC() { ReleaseTarget(); }

bool CDC::CreateCompatibleDC(CDC*)
{
    ReleaseTarget();
    m_impl->memoryDC = true;
    return true;
}

bool CDC::Impl::Bind(QImage* target)
{
    if (target == nullptr || target->isNull())
        return false;
    switch (target->format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
        break;
    default:
        *target = target->convertToFormat(QImage::Format_RGB32);
        break;
    }
    image = target;
    bits = target->bits(); // detaches a shared image once, here
    width = target->width();
    height = target->height();
    stride = int(target->bytesPerLine());
    format = FormatOf(target->format());
    dirty = CRect();
    return true;
}

bool CDC::AttachImage(QImage* image)
{
    ReleaseTarget();
    return m_impl->Bind(image);
}

bool CDC::AttachFrontImage(CFrontImage* front)
{
    ReleaseTarget();
    if (front == nullptr)
        return false;
    // The lock is taken before the image is touched and held until release.
    Impl& d = *m_impl;
    d.frontLock = std::unique_lock(front->Mutex());
    if (!d.Bind(&front->ImageLocked())) {
        d.frontLock.unlock();
        d.frontLock = {};
        return false;
    }
    d.front = front;
    front->DcAttached();
    return true;
}

void CDC::ReleaseTarget()
{
    Impl& d = *m_impl;
    CFrontImage* front = d.front;
    const CRect changed = d.dirty & CRect(0, 0, d.width, d.height);
    d.image = nullptr;
    d.bits = nullptr;
    d.width = d.height = d.stride = 0;
    d.front = nullptr;
    d.dirty = CRect();
    if (front != nullptr)
        front->DcReleased();
    if (d.frontLock.owns_lock())
        d.frontLock.unlock();
    d.frontLock = {};
    if (front != nullptr && !changed.IsRectEmpty())
        front->NotifyChanged(changed);
}

bool CDC::DeleteDC()
{
    ReleaseTarget();
    m_impl->memoryDC = false;
    m_impl->s.bitmap = nullptr;
    m_impl->s.bitmapData.reset();
    m_impl->saved.clear();
    return true;
}

QImage* CDC::GetImage() const { return m_impl->image; }

CRect CDC::GetClipBox() const
{
    CRect r = m_impl->Surface().clip;
    r.OffsetRect(-m_impl->s.origin.x, -m_impl->s.origin.y);
    return r;
}

namespace {

// Hands back the caller's own wrapper when it still holds the handle.
CGdiObject* WrapperFor(HGDIOBJ handle, CGdiObject* remembered)
{
    if (remembered != nullptr && gdi::IsLiveWrapperOf(remembered, handle))
        return remembered;
    return CGdiObject::FromHandle(handle);
}

} // namespace

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    GdiEntry e;
    if (!gdi::Lookup(object, &e))
        return nullptr;
    State& s = m_impl->s;
    HGDIOBJ old = nullptr;
    switch (e.kind) {
    case GdiKind::pen:
        old = s.pen;
        s.pen = object;
        s.penWrapper = nullptr;
        s.penData = e.pen;
        break;
    case GdiKind::brush:
        old = s.brush;
        s.brush = object;
        s.brushWrapper = nullptr;
        s.brushData = e.brush;
        break;
    case GdiKind::font:
        old = s.font;
        s.font = object;
        s.fontWrapper = nullptr;
        s.fontData = e.font;
        m_impl->qfont.reset();
        break;
    case GdiKind::bitmap:
        // Only a memory DC takes a bitmap; it keeps the pixels alive.
        if (!m_impl->memoryDC)
            return nullptr;
        old = s.bitmap;
        s.bitmap = object;
        s.bitmapWrapper = nullptr;
        s.bitmapData = e.bitmap;
        break;
    case GdiKind::none:
        return nullptr;
    }
    return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (object == nullptr)
        return nullptr;
    State& s = m_impl->s;
    const GdiKind kind = GetObjectKind(object->m_hObject);
    CGdiObject* remembered = kind == GdiKind::pen     ? s.penWrapper
                             : kind == GdiKind::brush ? s.brushWrapper
                             : kind == GdiKind::font  ? s.fontWrapper
                                                      : s.bitmapWrapper;
    HGDIOBJ old = SelectObject(object->m_hObject);
    if (old == nullptr)
        return nullptr;
    switch (kind) {
    case GdiKind::pen: s.penWrapper = object; break;
    case GdiKind::brush: s.brushWrapper = object; break;
    case GdiKind::font: s.fontWrapper = object; break;
    case GdiKind::bitmap: s.bitmapWrapper = object; break;
    case GdiKind::none: break;
    }
    return WrapperFor(old, remembered);
}

CPen* CDC::SelectObject(CPen* pen) { return static_cast<CPen*>(SelectObject(static_cast<CGdiObject*>(pen))); }
CBrush* CDC::SelectObject(CBrush* brush) { return static_cast<CBrush*>(SelectObject(static_cast<CGdiObject*>(brush))); }
CFont* CDC::SelectObject(CFont* font) { return static_cast<CFont*>(SelectObject(static_cast<CGdiObject*>(font))); }
CBitmap* CDC::SelectObject(CBitmap* bitmap) { return static_cast<CBitmap*>(SelectObject(static_cast<CGdiObject*>(bitmap))); }

CGdiObject* CDC::SelectStockObject(int id)
{
    const GdiKind kind = GetObjectKind(GetStockObject(id));
    State& s = m_impl->s;
    CGdiObject* remembered = kind == GdiKind::pen ? s.penWrapper : kind == GdiKind::brush ? s.brushWrapper : s.fontWrapper;
    HGDIOBJ old = SelectObject(GetStockObject(id));
    return old == nullptr ? nullptr : WrapperFor(old, remembered);
}

CPen* CDC::GetCurrentPen() const { return static_cast<CPen*>(WrapperFor(m_impl->s.pen, m_impl->s.penWrapper)); }
CBrush* CDC::GetCurrentBrush() const { return static_cast<CBrush*>(WrapperFor(m_impl->s.brush, m_impl->s.brushWrapper)); }
CFont* CDC::GetCurrentFont() const { return static_cast<CFont*>(WrapperFor(m_impl->s.font, m_impl->s.fontWrapper)); }
CBitmap* CDC::GetCurrentBitmap() const { return static_cast<CBitmap*>(WrapperFor(m_impl->s.bitmap, m_impl->s.bitmapWrapper)); }

int CDC::SetROP2(int rop)
{
    const int old = m_impl->s.rop;
    if (rop >= R2_BLACK && rop <= R2_WHITE)
        m_impl->s.rop = rop;
    return old;
}
int CDC::GetROP2() const { return m_impl->s.rop; }

int CDC::SetBkMode(int mode)
{
    const int old = m_impl->s.bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_impl->s.bkMode = mode;
    return old;
}
int CDC::GetBkMode() const { return m_impl->s.bkMode; }

COLORREF CDC::SetBkColor(COLORREF color)
{
    const COLORREF old = m_impl->s.bkColor;
    m_impl->s.bkColor = color & 0x00FFFFFF;
    return old;
}
COLORREF CDC::GetBkColor() const { return m_impl->s.bkColor; }

COLORREF CDC::SetTextColor(COLORREF color)
{
    const COLORREF old = m_impl->s.textColor;
    m_impl->s.textColor = color & 0x00FFFFFF;
    return old;
}
COLORREF CDC::GetTextColor() const { return m_impl->s.textColor; }

unsigned CDC::SetTextAlign(unsigned flags)
{
    const unsigned old = m_impl->s.textAlign;
    m_impl->s.textAlign = flags;
    return old;
}
unsigned CDC::GetTextAlign() const { return m_impl->s.textAlign; }

int CDC::SetPolyFillMode(int mode)
{
    const int old = m_impl->s.fillMode;
    if (mode == ALTERNATE || mode == WINDING)
        m_impl->s.fillMode = mode;
    return old;
}
int CDC::GetPolyFillMode() const { return m_impl->s.fillMode; }

CPoint CDC::SetViewportOrg(int x, int y)
{
    const CPoint old = m_impl->s.origin;
    m_impl->s.origin = CPoint(x, y);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    const CPoint old = m_impl->s.origin;
    m_impl->s.origin.Offset(dx, dy);
    return old;
}

CPoint CDC::GetViewportOrg() const { return m_impl->s.origin; }

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    Impl& d = *m_impl;
    CRect r(d.DX(left), d.DY(top), d.DX(right), d.DY(bottom));
    r.NormalizeRect();
    if (d.s.clip)
        r &= *d.s.clip;
    d.s.clip = r;
    return r.IsRectEmpty() ? 1 : 2; // NULLREGION : SIMPLEREGION
}

void CDC::ResetClip() { m_impl->s.clip.reset(); }

int CDC::SaveDC()
{
    m_impl->saved.push_back(m_impl->s);
    return int(m_impl->saved.size());
}

bool CDC::RestoreDC(int saved)
{
    Impl& d = *m_impl;
    const int n = int(d.saved.size());
    const int index = saved < 0 ? n + saved : saved - 1;
    if (index < 0 || index >= n)
        return false;
    d.s = d.saved[size_t(index)];
    d.saved.resize(size_t(index));
    d.qfont.reset();
    return true;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    Impl& d = *m_impl;
    const gdi::Surface sf = d.Surface();
    const int dx = d.DX(x), dy = d.DY(y);
    if (!sf.Valid() || !sf.clip.PtInRect(POINT{dx, dy}))
        return CLR_INVALID;
    gdi::RopWriter w(sf, R2_COPYPEN);
    w.Pixel(dx, dy, gdi::ToDevice(color, sf.format));
    d.Touch(CRect(dx, dy, dx + 1, dy + 1));
    return gdi::FromDevice(w.Read(dx, dy), sf.format);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    const Impl& d = *m_impl;
    gdi::Surface sf = d.Surface();
    const int dx = d.DX(x), dy = d.DY(y);
    if (sf.bits == nullptr || !sf.clip.PtInRect(POINT{dx, dy}))
        return CLR_INVALID;
    return gdi::FromDevice(gdi::RopWriter(sf, R2_NOP).Read(dx, dy), sf.format);
}
