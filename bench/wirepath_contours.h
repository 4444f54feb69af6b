#pragma once

// The long contours of the path benchmarks: a wavy star-shaped polygon of
// n vertices, as lines, or with every corner rounded by a tangent arc; and
// a drawing of such a contour with its chain and the request that builds
// its path.

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/CArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "geometry/x_TrailData.h"
#include "wirepath/WirepathState.h"
#include "wirepath/chain_collect.h"

// A wavy star-shaped polygon of n vertices, counter-clockwise.
inline std::vector<x_Vector> WavyOutline(int n)
{
    std::vector<x_Vector> pts;
    for (int i = 0; i < n; ++i) {
        const double a = kTwoPi * i / n;
        const double r = 200.0 * (1.0 + 0.15 * std::sin(7 * a) + 0.05 * std::sin(31 * a));
        pts.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    return pts;
}

// The lines of a closed polygon, one group per edge.
inline x_TrailDataArray PolygonLines(const std::vector<x_Vector>& pts)
{
    x_TrailDataArray list;
    const int n = static_cast<int>(pts.size());
    for (int i = 0; i < n; ++i) {
        x_TrailData e;
        e.kind = 1;
        e.group = i;
        e.start = pts[i];
        e.end = pts[(i + 1) % n];
        list.Add(e);
    }
    return list;
}

// The elements of such a contour: lines, or with arcs every corner rounded
// by a tangent arc (so half the elements are arcs). `chords` gets the
// polygon of all element end points.
inline x_TrailDataArray WavyContour(int elements, bool arcs, std::vector<x_Vector>& chords)
{
    x_TrailDataArray list;
    chords.clear();
    if (!arcs) {
        chords = WavyOutline(elements);
        return PolygonLines(chords);
    }
    const int n = elements / 2;
    const std::vector<x_Vector> pts = WavyOutline(n);
    std::vector<x_Vector> in(n), out(n);
    for (int i = 0; i < n; ++i) {
        const x_Vector& p = pts[i];
        const x_Vector& prev = pts[(i + n - 1) % n];
        const x_Vector& next = pts[(i + 1) % n];
        // The same distance on both sides, so that one circle touches both.
        const double t = 0.25 * std::min(x_Vector::Distance(prev, p), x_Vector::Distance(next, p));
        in[i] = p + (prev - p) * (t / x_Vector::Distance(prev, p));
        out[i] = p + (next - p) * (t / x_Vector::Distance(next, p));
    }
    for (int i = 0; i < n; ++i) {
        // Tangent arc from in[i] to out[i]: centre where the normals meet.
        const x_Vector& p = pts[i];
        const x_Vector u = (p - in[i]) / x_Vector::Distance(p, in[i]);
        const x_Vector v = (out[i] - p) / x_Vector::Distance(out[i], p);
        const double cross = u.x * v.y - u.y * v.x;
        x_TrailData e;
        e.group = 2 * i;
        if (std::fabs(cross) < 1e-9) {
            e.kind = 1;
            e.start = in[i];
            e.end = out[i];
        } else {
            const x_Vector nu = cross > 0 ? x_Vector(-u.y, u.x) : x_Vector(u.y, -u.x);
            const x_Vector nv = cross > 0 ? x_Vector(-v.y, v.x) : x_Vector(v.y, -v.x);
            // in + nu·ρ = out + nv·ρ
            const x_Vector d = out[i] - in[i], w = nu - nv;
            const double rho = (d.x * w.x + d.y * w.y) / (w.x * w.x + w.y * w.y);
            e.kind = cross > 0 ? 3 : 2;
            e.direction = cross > 0 ? 0 : 1;
            e.centre = in[i] + nu * rho;
            e.radius = rho;
            e.startAngle = x_Vector::AngleTo(e.centre, in[i]);
            e.endAngle = x_Vector::AngleTo(e.centre, out[i]);
        }
        list.Add(e);
        chords.push_back(in[i]);
        x_TrailData line;
        line.kind = 1;
        line.group = 2 * i + 1;
        line.start = out[i];
        line.end = in[(i + 1) % n];
        list.Add(line);
        chords.push_back(out[i]);
    }
    return list;
}

// The contour's elements as drawing entities, in chain order.
inline void WavyDrawing(const x_TrailDataArray& contour, CUnitDocument& doc, CArray<create_trail_pt_t>& chain)
{
    for (const x_TrailData& e : contour) {
        CUnit* u = e.IsLine() ? static_cast<CUnit*>(new CLine(e.start.x, e.start.y, e.end.x, e.end.y))
                              : static_cast<CUnit*>(NewArc(e.centre, e.radius, e.startAngle, e.endAngle, e.direction));
        u->complete = 1;
        chain.Add({doc.m_unitList.Add(u), 0});
    }
}

// Threading 5 mm below the contour's start, closed at its start.
inline ChainRequest WavyRequest(const x_TrailDataArray& contour, double compensation)
{
    ChainRequest req;
    req.offset = compensation;
    req.pickPoints[0] = contour[0].StartPoint() + x_Vector(0, -5);
    req.pickPoints[1] = req.pickPoints[2] = contour[0].StartPoint();
    req.pickPoints[3] = req.pickPoints[0];
    return req;
}

// A drawing of the wavy contour ready for chain collection, with the
// geometry and engine state reset first.
struct WavyJob {
    x_TrailDataArray contour;
    CUnitDocument doc;
    CArray<create_trail_pt_t> chain;
    ChainRequest req;

    WavyJob(int elements, bool arcs, double compensation)
    {
        ResetGeometryState();
        ResetWirepathState();
        std::vector<x_Vector> chords;
        contour = WavyContour(elements, arcs, chords);
        WavyDrawing(contour, doc, chain);
        req = WavyRequest(contour, compensation);
    }
    WavyJob(const WavyJob&) = delete;
    WavyJob& operator=(const WavyJob&) = delete;
    ~WavyJob()
    {
        FreeTemp();
        for (int i = 0; i < doc.m_unitList.GetSize(); ++i)
            delete doc.m_unitList[i];
    }
    // The helper units a build leaves in the document.
    void FreeTemp()
    {
        for (int i = 0; i < doc.m_tempList.GetSize(); ++i)
            delete doc.m_tempList[i];
        doc.m_tempList.RemoveAll();
    }
};
