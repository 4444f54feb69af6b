#pragma once
// Internal: the state behind CDC, shared by its CDC_*.cpp files.

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_registry.h"
#include "platform/gdi/RowDamage.h"
#include "platform/gdi/raster.h"

#include <QFont>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// What SaveDC keeps.
struct CDC::State {
    HGDIOBJ pen = nullptr;
    CGdiObject* penWrapper = nullptr;
    LOGPEN penData;
    HGDIOBJ brush = nullptr;
    CGdiObject* brushWrapper = nullptr;
    LOGBRUSH brushData;
    HGDIOBJ font = nullptr;
    CGdiObject* fontWrapper = nullptr;
    LOGFONTW fontData;
    HGDIOBJ bitmap = nullptr;
    CGdiObject* bitmapWrapper = nullptr;
    std::shared_ptr<BitmapData> bitmapData;

    int rop = R2_COPYPEN;
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    unsigned textAlign = TA_LEFT | TA_TOP;
    int fillMode = ALTERNATE;
    CPoint position;
    CPoint origin;             // viewport origin: device = logical + origin
    std::optional<CRect> clip; // device coordinates
};

struct CDC::Impl {
    State s;
    std::vector<State> saved;
    bool memoryDC = false;

    // A caller's image or a front image (memory DCs draw into s.bitmapData).
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    gdi::PixelFormat format = gdi::PixelFormat::xrgb32;
    QImage* image = nullptr;
    CFrontImage* front = nullptr;
    std::unique_lock<std::recursive_mutex> frontLock;

    CRect dirty; // device pixels touched since the target was attached
    RowDamage* damage = nullptr; // also told every touch (SetDamage)
    int dashPhase = 0;
    std::optional<QFont> qfont; // built from s.fontData on first use

    Impl();
    bool Bind(QImage* target); // draws into target from now on
    gdi::Surface Surface() const;
    // A QImage over the target's pixels for QPainter (text, blits); null
    // image when there is no target.
    QImage WrapTarget() const;
    void Touch(const CRect& device);
    int DX(int x) const { return gdi::Saturate(std::int64_t(x) + s.origin.x); }
    int DY(int y) const { return gdi::Saturate(std::int64_t(y) + s.origin.y); }
    const QFont& Font();
};

gdi::PixelFormat FormatOf(QImage::Format format);
QImage::Format QtFormatOf(gdi::PixelFormat format);
