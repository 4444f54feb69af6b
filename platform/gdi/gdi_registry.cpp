#include "platform/gdi/gdi_registry.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// Handle numbers step by 16 so they look like aligned addresses.
constexpr std::uintptr_t kStep = 16;
constexpr std::uintptr_t kStockBase = 0x1000;    // stock object i: base + i * step
constexpr std::uintptr_t kSysBrushBase = 0x2000; // system brush i
constexpr std::uintptr_t kFirstHandle = 0x100000;
constexpr int kSysColors = 25;

// Default colours of the classic light desktop scheme.
constexpr COLORREF kSysColorTable[kSysColors] = {
    RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219),
    RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(180, 180, 180), RGB(244, 247, 252),
    RGB(171, 171, 171), RGB(51, 153, 255),  RGB(255, 255, 255), RGB(240, 240, 240),
    RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(67, 78, 84),
    RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
    RGB(255, 255, 225),
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, GdiEntry> entries;
    std::unordered_map<std::uintptr_t, std::unique_ptr<CGdiObject>> temporaries;
    std::unordered_set<CGdiObject*> wrappers;
    std::uintptr_t next = kFirstHandle;
    int created = 0; // live non-stock entries
};

void SetFace(LOGFONTW& font, const char16_t* face)
{
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), u'\0');
    if (face == nullptr)
        return;
    for (int i = 0; i < LF_FACESIZE - 1 && face[i] != 0; ++i)
        font.lfFaceName[i] = face[i];
}

GdiEntry PenEntry(unsigned style, int width, COLORREF color)
{
    GdiEntry e;
    e.kind = GdiKind::pen;
    e.pen.lopnStyle = style;
    e.pen.lopnWidth.x = width;
    e.pen.lopnColor = color;
    return e;
}

GdiEntry BrushEntry(unsigned style, COLORREF color)
{
    GdiEntry e;
    e.kind = GdiKind::brush;
    e.brush.lbStyle = style;
    e.brush.lbColor = color;
    return e;
}

GdiEntry FontEntry(const LOGFONTW& font)
{
    GdiEntry e;
    e.kind = GdiKind::font;
    e.font = font;
    return e;
}

void AddStock(Registry& r, std::uintptr_t id, GdiEntry e)
{
    e.stock = true;
    r.entries.emplace(id, std::move(e));
}

void AddStockObjects(Registry& r)
{
    const auto stock = [&](int i, GdiEntry e) { AddStock(r, kStockBase + std::uintptr_t(i) * kStep, std::move(e)); };
    stock(WHITE_BRUSH, BrushEntry(BS_SOLID, RGB(255, 255, 255)));
    stock(LTGRAY_BRUSH, BrushEntry(BS_SOLID, RGB(192, 192, 192)));
    stock(GRAY_BRUSH, BrushEntry(BS_SOLID, RGB(128, 128, 128)));
    stock(DKGRAY_BRUSH, BrushEntry(BS_SOLID, RGB(64, 64, 64)));
    stock(BLACK_BRUSH, BrushEntry(BS_SOLID, RGB(0, 0, 0)));
    stock(NULL_BRUSH, BrushEntry(BS_NULL, RGB(0, 0, 0)));
    stock(WHITE_PEN, PenEntry(PS_SOLID, 1, RGB(255, 255, 255)));
    stock(BLACK_PEN, PenEntry(PS_SOLID, 1, RGB(0, 0, 0)));
    stock(NULL_PEN, PenEntry(PS_NULL, 1, RGB(0, 0, 0)));
    const LOGFONTW gui = gdi::DefaultGuiFont();
    LOGFONTW fixed = gui;
    SetFace(fixed, u"Monospace");
    for (int id : {OEM_FIXED_FONT, ANSI_FIXED_FONT, SYSTEM_FIXED_FONT})
        stock(id, FontEntry(fixed));
    for (int id : {ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT, DEFAULT_GUI_FONT})
        stock(id, FontEntry(gui));
    for (int i = 0; i < kSysColors; ++i)
        AddStock(r, kSysBrushBase + std::uintptr_t(i) * kStep, BrushEntry(BS_SOLID, kSysColorTable[i]));
}

Registry& Reg()
{
    static Registry* registry = [] {
        auto* r = new Registry; // never destroyed: DCs may outlive static destruction order
        AddStockObjects(*r);
        return r;
    }();
    return *registry;
}

std::uintptr_t Key(HGDIOBJ h) { return reinterpret_cast<std::uintptr_t>(h); }

} // namespace

namespace gdi {

LOGFONTW DefaultGuiFont()
{
    LOGFONTW f;
    f.lfHeight = -12;
    f.lfWeight = FW_NORMAL;
    f.lfCharSet = GB2312_CHARSET;
    SetFace(f, u"宋体");
    return f;
}

HGDIOBJ Register(GdiEntry entry)
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    const std::uintptr_t id = r.next;
    r.next += kStep;
    r.entries.emplace(id, std::move(entry));
    ++r.created;
    return reinterpret_cast<HGDIOBJ>(id);
}

bool Lookup(HGDIOBJ handle, GdiEntry* out)
{
    if (handle == nullptr)
        return false;
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    const auto it = r.entries.find(Key(handle));
    if (it == r.entries.end())
        return false;
    if (out != nullptr)
        *out = it->second;
    return true;
}

void WrapperCreated(CGdiObject* wrapper)
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    r.wrappers.insert(wrapper);
}

void WrapperDestroyed(CGdiObject* wrapper)
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    r.wrappers.erase(wrapper);
}

bool IsLiveWrapperOf(CGdiObject* wrapper, HGDIOBJ handle)
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    return r.wrappers.count(wrapper) != 0 && wrapper->m_hObject == handle;
}

CGdiObject* TemporaryWrapper(HGDIOBJ handle)
{
    if (handle == nullptr)
        return nullptr;
    GdiKind kind = GdiKind::none;
    {
        Registry& r = Reg();
        std::lock_guard lock(r.mutex);
        const auto it = r.entries.find(Key(handle));
        if (it == r.entries.end())
            return nullptr;
        const auto t = r.temporaries.find(Key(handle));
        if (t != r.temporaries.end())
            return t->second.get();
        kind = it->second.kind;
    }
    std::unique_ptr<CGdiObject> made;
    switch (kind) {
    case GdiKind::pen: made = std::make_unique<CPen>(); break;
    case GdiKind::brush: made = std::make_unique<CBrush>(); break;
    case GdiKind::font: made = std::make_unique<CFont>(); break;
    case GdiKind::bitmap: made = std::make_unique<CBitmap>(); break;
    case GdiKind::none: return nullptr;
    }
    made->m_hObject = handle;
    CGdiObject* result = nullptr;
    {
        Registry& r = Reg();
        std::lock_guard lock(r.mutex);
        if (r.entries.count(Key(handle)) != 0) {
            auto it = r.temporaries.try_emplace(Key(handle), std::move(made)).first;
            result = it->second.get();
        }
    }
    if (made) // another thread made one first; ours must not delete the handle
        made->m_hObject = nullptr;
    return result;
}

} // namespace gdi

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        return nullptr;
    return static_cast<HPEN>(gdi::Register(PenEntry(unsigned(style), std::max(width, 0), color)));
}

HPEN CreatePenIndirect(const LOGPEN* pen)
{
    return pen == nullptr ? nullptr : CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return static_cast<HBRUSH>(gdi::Register(BrushEntry(BS_SOLID, color & 0x00FFFFFF)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush)
{
    if (brush == nullptr || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL))
        return nullptr;
    return static_cast<HBRUSH>(gdi::Register(BrushEntry(brush->lbStyle, brush->lbColor & 0x00FFFFFF)));
}

HFONT CreateFontIndirectW(const LOGFONTW* font)
{
    if (font == nullptr)
        return nullptr;
    LOGFONTW f = *font;
    f.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(gdi::Register(FontEntry(f)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight,
                  unsigned italic, unsigned underline, unsigned strikeOut, unsigned charSet,
                  unsigned outPrecision, unsigned clipPrecision, unsigned quality,
                  unsigned pitchAndFamily, const char16_t* faceName)
{
    LOGFONTW f;
    f.lfHeight = height;
    f.lfWidth = width;
    f.lfEscapement = escapement;
    f.lfOrientation = orientation;
    f.lfWeight = weight;
    f.lfItalic = std::uint8_t(italic);
    f.lfUnderline = std::uint8_t(underline);
    f.lfStrikeOut = std::uint8_t(strikeOut);
    f.lfCharSet = std::uint8_t(charSet);
    f.lfOutPrecision = std::uint8_t(outPrecision);
    f.lfClipPrecision = std::uint8_t(clipPrecision);
    f.lfQuality = std::uint8_t(quality);
    f.lfPitchAndFamily = std::uint8_t(pitchAndFamily);
    SetFace(f, faceName);
    return CreateFontIndirectW(&f);
}

HGDIOBJ GetStockObject(int id)
{
    const auto h = reinterpret_cast<HGDIOBJ>(kStockBase + std::uintptr_t(id) * kStep);
    return id >= 0 && id <= DEFAULT_GUI_FONT && gdi::Lookup(h, nullptr) ? h : nullptr;
}

bool DeleteObject(HGDIOBJ object)
{
    if (object == nullptr)
        return false;
    std::unique_ptr<CGdiObject> temporary;
    {
        Registry& r = Reg();
        std::lock_guard lock(r.mutex);
        const auto it = r.entries.find(Key(object));
        if (it == r.entries.end())
            return false;
        if (it->second.stock)
            return true;
        r.entries.erase(it);
        --r.created;
        const auto t = r.temporaries.find(Key(object));
        if (t != r.temporaries.end()) {
            temporary = std::move(t->second);
            r.temporaries.erase(t);
        }
    }
    if (temporary)
        temporary->m_hObject = nullptr; // it does not own the handle
    return true;
}

GdiKind GetObjectKind(HGDIOBJ object)
{
    GdiEntry e;
    return gdi::Lookup(object, &e) ? e.kind : GdiKind::none;
}

int GetObjectW(HGDIOBJ object, int size, void* out)
{
    GdiEntry e;
    if (!gdi::Lookup(object, &e) || out == nullptr)
        return 0;
    const auto copy = [&](const auto& value) {
        if (size < int(sizeof(value)))
            return 0;
        std::memcpy(out, &value, sizeof(value));
        return int(sizeof(value));
    };
    switch (e.kind) {
    case GdiKind::pen: return copy(e.pen);
    case GdiKind::brush: return copy(e.brush);
    case GdiKind::font: return copy(e.font);
    case GdiKind::bitmap: {
        BITMAP bm;
        const BitmapData& b = *e.bitmap;
        bm.bmWidth = b.width;
        bm.bmHeight = b.height;
        bm.bmWidthBytes = b.stride;
        bm.bmBitsPixel = b.format == QImage::Format_RGB32 ? 32 : 16;
        bm.bmBits = b.bits;
        return copy(bm);
    }
    case GdiKind::none: break;
    }
    return 0;
}

COLORREF GetSysColor(int index)
{
    return index >= 0 && index < kSysColors ? kSysColorTable[index] : 0;
}

HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= kSysColors)
        return nullptr;
    return reinterpret_cast<HBRUSH>(kSysBrushBase + std::uintptr_t(index) * kStep);
}

int GetGdiObjectCount()
{
    Registry& r = Reg();
    std::lock_guard lock(r.mutex);
    return r.created;
}
