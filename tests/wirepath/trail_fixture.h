#pragma once

// Builders of path elements and lists for the engine's tests, and an SVG
// of element lists for failing geometry cases.

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/x_TrailData.h"
#include "wirepath/WirepathState.h"

// Coordinates computed two ways (formula against construction) agree this far.
constexpr double kExact = 1e-9;

inline x_TrailData Line(double x1, double y1, double x2, double y2, int group = 0)
{
    x_TrailData e;
    e.kind = 1;
    e.start = x_Vector(x1, y1);
    e.end = x_Vector(x2, y2);
    e.group = group;
    return e;
}

// Angles in radians; clockwise arcs are kind 2.
inline x_TrailData Arc(double cx, double cy, double r, double a0, double a1, bool clockwise, int group = 0)
{
    x_TrailData e;
    e.kind = clockwise ? 2 : 3;
    e.direction = clockwise ? 1 : 0;
    e.centre = x_Vector(cx, cy);
    e.radius = r;
    e.startAngle = a0;
    e.endAngle = a1;
    e.group = group;
    return e;
}

// A closed polygon through the points, one group per edge.
inline x_TrailDataArray Polygon(const std::vector<x_Vector>& pts)
{
    x_TrailDataArray list;
    const int n = static_cast<int>(pts.size());
    for (int i = 0; i < n; ++i) {
        const x_Vector& a = pts[i];
        const x_Vector& b = pts[(i + 1) % n];
        list.Add(Line(a.x, a.y, b.x, b.y, i));
    }
    return list;
}

inline void ExpectPoint(const x_Vector& p, double x, double y, double tol = kExact)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// Writes the lists as SVG polylines into the test's temporary folder
// (ZORVA_HOME) and returns the file name.
inline std::string WriteSvg(const std::string& name, const std::vector<const x_TrailDataArray*>& lists)
{
    const char* home = std::getenv("ZORVA_HOME");
    const std::string path = std::string(home != nullptr ? home : "/tmp") + "/" + name + ".svg";
    std::ofstream svg(path);
    svg << "<svg xmlns='http://www.w3.org/2000/svg' viewBox='-200 -200 400 400'>\n";
    const char* colours[] = {"black", "red", "blue", "green"};
    int c = 0;
    for (const x_TrailDataArray* list : lists) {
        svg << "<polyline fill='none' stroke-width='0.05' stroke='" << colours[c++ % 4] << "' points='";
        for (const x_TrailData& e : *list) {
            const int steps = e.IsArc() ? 16 : 1;
            for (int s = 0; s <= steps; ++s) {
                x_Vector p;
                if (e.IsLine()) {
                    p = s == 0 ? e.start : e.end;
                } else {
                    double sweep = e.direction ? e.startAngle - e.endAngle : e.endAngle - e.startAngle;
                    if (sweep <= 0)
                        sweep += 2 * 3.141592653589793;
                    const double a = e.startAngle + (e.direction ? -sweep : sweep) * s / steps;
                    p = x_Vector(e.centre.x + e.radius * std::cos(a), e.centre.y + e.radius * std::sin(a));
                }
                svg << p.x << "," << -p.y << " ";
            }
        }
        svg << "'/>\n";
    }
    svg << "</svg>\n";
    return path;
}

class WirepathTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWirepathState(); }
};
