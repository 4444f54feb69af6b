#pragma once

// What the angle and the arc-length dimension share: a dimension arc about
// a centre with an arrowhead at each end, witness lines out to the
// measured geometry and a label at the middle of the arc. The grips are
// the start, middle and end of the arc. Like CDimension it has no run-time
// class of its own.

#include "geometry/CUnit.h"
#include "geometry/DimensionRecord.h"
#include "geometry/dc_lines.h"
#include "platform/core/CString.h"

class CDimArcBase : public CUnit {
public:
    explicit CDimArcBase(UnitFamily family);
    ~CDimArcBase() override;

    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int HitTestGrip(x_Vector point) override;
    void DrawGrips(CDC* dc) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void ComputeExtents() override;
    double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit) override;
    x_Vector GetStartPoint() override;
    x_Vector GetEndPoint() override;
    void UpdateGripPoints() override;
    // inputPoints 0, 1, 2: start, middle and end of the current arc.
    void UpdateKeyPoints();

    virtual DimensionArc& CurrentArc() = 0;
    virtual DimensionArc& WorkingArc() = 0;
    // The whole record of the kind from the current geometry into the
    // working copy.
    virtual void TakeCurrentRecord() = 0;

    CString text;                       // the label as shown

protected:
    // Where the witness lines of the working record start, and whether they
    // follow the arc rule (from each arc end toward witnessRadius).
    struct Witnesses {
        x_Vector w1, w2;
        bool fromLines = false;
    };
    virtual Witnesses WorkingWitnesses();

    void SerializeArc(CArchive& ar);
    // The arc, arrowheads and witness lines of the working record: into the
    // raster (Draw) or onto the device context (the preview).
    void DrawArcPicture(CDC* dc, std::uint8_t* raster, bool toRaster, PointListCull cull);
    // The label at the middle of the working arc.
    void DrawArcLabel(CDC* dc, COLORREF colour);
    // Mode 1 takes the current record; the colour, pen and brush of Draw.
    void DrawDimensionArc(CDC* dc, int mode, std::uint8_t* raster, bool copyMode, PointListCull cull);
    void DrawArcRubber(CDC* dc, PointListCull cull);
    // The transforms of the centre and the angles; the caller adds what is
    // its own.
    void MoveArc(const x_Vector& d);
    void RotateArc(const x_Vector& c, double angle);
    void ScaleArc(const x_Vector& base, const x_Vector& f);
    void MirrorArc(const x_Vector& a, const x_Vector& b);
    virtual void FormatLabel() = 0;
};

// The end angle as an arc from start in the given direction reaches it:
// e − 2π (clockwise) or e + 2π (counter-clockwise) when it lies behind.
double UnwrappedEnd(double start, double end, std::uint8_t direction);
