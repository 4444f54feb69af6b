#include <algorithm>
#include <cmath>

#include "geometry/GeometryState.h"
#include "geometry/dc_lines.h"
#include "geometry/screen_marks.h"
#include "geometry/screen_marks_dc.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"

namespace {

// Parameter range [t0, t1] of S + t·d inside the box (Liang-Barsky); false
// when the line misses it.
bool ClipToBox(double sx, double sy, double dx, double dy, double w, double h, double& t0, double& t1)
{
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {sx + 1, w + 1 - sx, sy + 1, h + 1 - sy};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
    }
    return t0 <= t1;
}

} // namespace

void DrawDashedLine(COLORREF colour, CDC* dc, int mode, const x_Vector& start, const x_Vector& end)
{
    if (dc == nullptr)
        return;
    const double t0 = g_DashLengths[0], t1 = g_DashLengths[1];
    const double t2 = g_DashLengths[2], t3 = g_DashLengths[3];
    // mode 0 dash-dot: dash, gap, dot, gap; otherwise dashed: dash, gap twice.
    const double steps[4] = {mode == 0 ? t2 : t0, mode == 0 ? t3 - t2 : t1 - t0,
                             mode == 0 ? t3 - t2 : t0, mode == 0 ? t3 - t2 : t1 - t0};
    const double period = steps[0] + steps[1] + steps[2] + steps[3];
    MarkScope scope(dc, PS_SOLID, mode == 1 ? RGB(255, 255, 255) - colour : colour,
                    mode == 0 ? R2_COPYPEN : R2_NOTXORPEN, OPAQUE);
    const POINT s = WorldToScreen(start), e = WorldToScreen(end);
    const double dx = double(e.x) - s.x, dy = double(e.y) - s.y;
    const double angle = std::atan2(dy, dx);
    const double ux = std::cos(angle), uy = std::sin(angle);
    double left = std::hypot(dx, dy);
    double cx = s.x, cy = s.y;
    dc->MoveTo(s.x, s.y);
    g_PenPosValid = 0;
    // Thresholds with no length once made this loop for ever.
    if (!(period > 0.0))
        return;
    const double w = double(g_ViewClientRect.right) - g_ViewClientRect.left;
    const double h = double(g_ViewClientRect.bottom) - g_ViewClientRect.top;
    double enter = 0.0, leave = left;
    if (!ClipToBox(cx, cy, ux, uy, w, h, enter, leave))
        return;
    // Whole periods before the view draw nothing visible; at extreme zoom
    // walking them took millions of steps. Skipping them keeps the phase.
    const double skipped = std::floor(enter / period) * period;
    cx += ux * skipped;
    cy += uy * skipped;
    left -= skipped;
    double travelled = skipped;
    for (int i = 0; left >= 0.0 && travelled <= leave + period; ++i) {
        const double len = steps[i % 4];
        if (i % 2 == 1) {                       // gap
            cx += ux * len;
            cy += uy * len;
            left -= len;
            travelled += len;
            continue;
        }
        const double step = std::min(left, len);
        const double nx = cx + ux * step, ny = cy + uy * step;
        const POINT a{RoundHalfUp(cx), RoundHalfUp(cy)}, b{RoundHalfUp(nx), RoundHalfUp(ny)};
        const bool off = (a.x < 0 && b.x < 0) || (a.x > w && b.x > w) || (a.y < 0 && b.y < 0)
                      || (a.y > h && b.y > h);
        if (!off)
            LineToCached(dc, a.x, a.y, b.x, b.y);
        cx = nx;
        cy = ny;
        left -= step;
        travelled += step;
    }
}
