#pragma once
// Internal: the table behind the handles. Entries are looked up by copy, so
// a DC keeps what it selected even when the handle is deleted meanwhile.

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_types.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <memory>

class CGdiObject;

// Drawing writes through bits directly (never through a QImage that could
// detach), so a DIB section's caller always sees what was drawn.
struct BitmapData {
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<std::uint8_t[], Free> owned; // null when over caller memory
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    QImage::Format format = QImage::Format_RGB32;

    // A QImage over the same pixels (no copy).
    QImage Wrap() const { return QImage(bits, width, height, stride, format); }
};

struct GdiEntry {
    GdiKind kind = GdiKind::none;
    bool stock = false;
    LOGPEN pen;
    LOGBRUSH brush;
    LOGFONTW font;
    std::shared_ptr<BitmapData> bitmap;
};

namespace gdi {

HGDIOBJ Register(GdiEntry entry);
bool Lookup(HGDIOBJ handle, GdiEntry* out);

// Wrappers: which CGdiObject objects are alive (to hand back the caller's
// own wrapper from SelectObject), and per-handle non-owning wrappers.
void WrapperCreated(CGdiObject* wrapper);
void WrapperDestroyed(CGdiObject* wrapper);
bool IsLiveWrapperOf(CGdiObject* wrapper, HGDIOBJ handle);
CGdiObject* TemporaryWrapper(HGDIOBJ handle);

LOGFONTW DefaultGuiFont();

} // namespace gdi
