#pragma once
// Internal: pixel writing with binary raster operations on device values,
// and the shape rasterisers of CDC. Coordinates here are device pixels.

#include "platform/gdi/CRect.h"
#include "platform/gdi/gdi_types.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace gdi {

enum class PixelFormat { xrgb32, rgb565, rgb555 };

struct Surface {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    PixelFormat format = PixelFormat::xrgb32;
    CRect clip; // inside the image

    bool Valid() const { return bits != nullptr && !clip.IsRectEmpty(); }
};

std::uint32_t ToDevice(COLORREF color, PixelFormat format);
COLORREF FromDevice(std::uint32_t value, PixelFormat format);

// Writes pixels through one binary raster operation (R2_*), clipped.
class RopWriter {
public:
    RopWriter(const Surface& surface, int rop);
    void Pixel(int x, int y, std::uint32_t value);
    void Span(int y, int x0, int x1, std::uint32_t value); // x0 <= x < x1
    std::uint32_t Read(int x, int y) const;
    bool Inside(int x, int y) const { return m_s.clip.PtInRect(POINT{x, y}); }
    const Surface& surface() const { return m_s; }

private:
    std::uint32_t Apply(std::uint32_t pen, std::uint32_t dst) const;
    Surface m_s;
    int m_rop;
    std::uint32_t m_mask;  // colour bits of the format
    std::uint32_t m_fixed; // bits forced on (alpha of 32-bit pixels)
};

// A cosmetic pen's dash pattern: runs of on and off pixels, starting on.
struct DashPattern {
    std::vector<int> runs; // empty: solid
    int period = 0;
    bool On(std::int64_t phase) const;
};
DashPattern PatternOf(int penStyle);

// Clamps to the 32-bit range: far-off coordinates of extreme zooms stay
// defined and far off.
int Saturate(std::int64_t v);

using StepPlot = std::function<void(int x, int y, std::int64_t step)>;

// Bresenham from (x0, y0) towards (x1, y1), the end pixel left out. Only the
// steps whose pixels lie in clip are walked (with their step index, for dash
// patterns), so a line millions of pixels long costs what its visible part
// costs. Returns the number of steps of the whole line.
std::int64_t TraceLine(int x0, int y0, int x1, int y1, const CRect& clip, const StepPlot& plot);

// The outline pixels of a rectangle in drawing order (clockwise from the
// top-left), each once; only those in clip are reported. Returns the length
// of the whole outline.
std::int64_t TraceRectangle(const CRect& box, const CRect& clip, const StepPlot& plot);

// Rows of a filled shape: for each row from top, the inclusive span
// [x0, x1] (x0 > x1: empty row).
struct RowSpans {
    int top = 0;
    std::vector<std::pair<int, int>> rows;
    bool Has(int y, int x) const;
};
// Only rows firstRow <= y < endRow are made (callers pass their clip, one
// row wider on each side where borders are found from neighbours).
// Pixels whose centres lie in the ellipse inscribed in box (right and
// bottom edges outside).
RowSpans EllipseRows(const CRect& box, int firstRow, int endRow);
RowSpans RectRows(const CRect& box, int firstRow, int endRow);
// Splits a filled shape into its one-pixel 4-connected border and interior.
void SplitBorder(const RowSpans& shape,
                 const std::function<void(int y, int x0, int x1)>& border,
                 const std::function<void(int y, int x0, int x1)>& interior);
// Pixels of shape not in hole (spans x0 <= x < x1).
void SubtractRows(const RowSpans& shape, const RowSpans& hole,
                  const std::function<void(int y, int x0, int x1)>& out);

// Pixels whose centres lie inside the polygon, ALTERNATE or WINDING.
void FillPolygonSpans(const POINT* points, int count, int fillMode, const CRect& clip,
                      const std::function<void(int y, int x0, int x1)>& span);

} // namespace gdi
