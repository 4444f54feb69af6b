#pragma once

// Outlines put into a chain for the path tests (closed splines, generated
// gears and racks, arcs between points) and built as the path command
// builds them, on the side that makes them a hole or an outline.

#include <algorithm>
#include <string>
#include <vector>

#include "generators/gear_outline.h"
#include "generators/rack_outline.h"
#include "geometry/CArc.h"
#include "geometry/CSplines.h"
#include "tests/wirepath/chain_fixture.h"
#include "tests/paths/checked_build.h"

// A standard involute gear: pressure angle 20°, ha* 1, c* 0.25.
inline GearInputs StandardGear(int teeth, double module)
{
    GearInputs in;
    in.teeth = teeth;
    in.module = module;
    in.alphaDeg = 20.0;
    in.ha = 1.0;
    in.c = 0.25;
    return in;
}

// A standard rack of the same proportions.
inline RackInputs StandardRack(int teeth, double module)
{
    RackInputs in;
    in.teeth = teeth;
    in.module = module;
    in.alphaDeg = 20.0;
    in.ha = 1.0;
    in.c = 0.25;
    return in;
}

class OutlineTest : public ChainTest {
protected:
    void SetUp() override
    {
        ChainTest::SetUp();
        settings.passes.fastWireCoding = true;
    }
    void Clear()
    {
        TearDown();
        g_pDoc = &doc;
    }
    void TakeArc(const x_Vector& c, double r, const x_Vector& from, const x_Vector& to, bool clockwise)
    {
        Take(NewArc(c, r, x_Vector::AngleTo(c, from), x_Vector::AngleTo(c, to), clockwise ? 1 : 0));
    }
    CSplines* TakeSpline(const std::vector<x_Vector>& nodes)
    {
        auto* s = new CSplines();
        for (const x_Vector& p : nodes)
            s->nodes.Add(p);
        s->keyPoints.Copy(s->nodes);
        s->geometry.spline.closed = s->workGeometry.spline.closed = 1;
        Take(s);
        leadIn = nodes[0];
        return s;
    }
    // The pieces in chain order from piece `first`; the others are freed.
    std::vector<std::pair<CUnit*, int>> TakeOrdered(CUnitArray& units, int first)
    {
        const auto ordered = OrderChain(units, first);
        for (const auto& [u, dir] : ordered)
            Take(u, dir);
        for (CUnit* u : units)
            if (std::none_of(ordered.begin(), ordered.end(), [u](const auto& o) { return o.first == u; }))
                delete u;
        const auto& [u, dir] = ordered[0];
        leadIn = dir == 2 ? u->GetStartPoint() : u->GetEndPoint();
        return ordered;
    }
    bool TakeGear(const GearInputs& in, bool internal)
    {
        CUnitArray units;
        GearOutline outline;
        const bool built = internal ? BuildInternalGear(in, InternalGearCircles(in), 0, false, units, outline)
                                    : BuildExternalGear(in, ExternalGearCircles(in), 0, false, units, outline);
        if (built)
            TakeOrdered(units, 0);
        return built;
    }
    // A rack closed by a base 5 mm below its root line.
    bool TakeRack(const RackInputs& in)
    {
        CUnitArray units;
        RackOutline outline;
        if (!BuildRack(in, ComputeRackHeights(in), 0, units, outline))
            return false;
        int first = 0;
        for (int i = 0; i < units.GetSize(); ++i)
            if (units[i]->role == 0 && units[i]->GetStartPoint().x < units[first]->GetStartPoint().x)
                first = i;
        const x_Vector start = units[first]->GetStartPoint();
        const auto ordered = TakeOrdered(units, first);
        const auto& [last, dir] = ordered.back();
        const x_Vector end = dir == 2 ? last->GetEndPoint() : last->GetStartPoint();
        TakeLine(end.x, end.y, end.x, -5);
        TakeLine(end.x, -5, start.x, -5);
        TakeLine(start.x, -5, start.x, start.y);
        return true;
    }
    // Built on the side that makes the outline a hole (or not).
    CheckedBuild BuildSide(bool hole, double comp)
    {
        for (int key = 1; key <= 2; ++key) {
            path = TrailPath();
            const CheckedBuild b = BuildChecked(Request(thread, leadIn, key, comp), settings, doc, chain, path);
            if (path.outward[0] == (hole ? 0 : 1)) {
                sideKey = key;
                return b;
            }
        }
        ADD_FAILURE() << "no side gives the wanted outward flag";
        return {};
    }

    x_Vector leadIn, thread{0, 1};
    int sideKey = 1;
};
