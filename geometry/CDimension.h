#pragma once

// What the four length and radius dimensions share (CDimLine, CDimLinear,
// CDimPLine, CDimCir): the dimension record in geometry.dimension, the
// derived drawing points and hit segments, the grip test, the nearest
// point, the pick handler, the moves, the grip list and the copy. The class
// has no run-time class of its own: each kind is a CUnit to the archive.

#include "geometry/CUnit.h"
#include "geometry/dimension_drawing.h"
#include "platform/core/CString.h"

class CDimension : public CUnit {
public:
    CDimension();
    ~CDimension() override;

    int HitTestGrip(x_Vector point) override;
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    void DrawGrips(CDC* dc) override;
    void UpdateGripPoints() override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    // The end of segment lastSegment nearer to point (its start on a tie).
    x_Vector NearestEnd(x_Vector& out, const x_Vector& point, double* distance);

    DimensionRecord& Current() { return geometry.dimension.Get(); }
    DimensionRecord& Working() { return workGeometry.dimension.Get(); }

    // Derived members, rebuilt from the record; none is archived.
    x_Vector lineStart;
    x_Vector lineEnd;
    x_Vector extEnd1;
    x_Vector extEnd2;
    x_LineData segments[3];
    std::int32_t lastSegment = 0;
    CString text;

protected:
    enum class Tail { aligned, linear, shared };
    void SerializeTail(CArchive& ar, Tail tail);
    // The pixel hit test over the first `count` segments.
    bool HitSegments(const x_Vector& p, std::uint8_t exact, int count);
    // Working record = current, then the offset added to two or four points.
    void MoveRecord(const x_Vector& offset, int points);
    // The common copy into a new unit of the same class.
    bool CopyInto(CDimension* copy, int mode, CUnit*& out);
    // Working record into the current one, complete set, grips stale.
    void CommitCommon();
    // Colour, style and raster pattern of a Draw; mode 1 first takes the
    // current record into the working copy.
    UnitDrawStyle BeginDraw(int mode);
    // The shared pick with the working points exchanged (aligned, linear)
    // or copied as they are.
    void PickDimension(CDC* dc, CUnitView* view, const x_Vector& point, bool exchange);
    // Segment i from a to b.
    void SetSegment(int i, const x_Vector& a, const x_Vector& b);
};
