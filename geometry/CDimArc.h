#pragma once

#include "geometry/CDimArcBase.h"

// The arc-length dimension: the length of an arc of the drawing, in mm,
// on a dimension arc concentric with it. It keeps the measured arc's
// unitId and reads the length again at every commit.
class CDimArc : public CDimArcBase {
    DECLARE_SERIAL(CDimArc)
public:
    CDimArc() : CDimArcBase(UnitFamily::dimArc) {}

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void CommitTransform() override;
    int GetType() override { return 18; }
    void Move(x_Vector offset) override;
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;

    DimensionArc& CurrentArc() override { return geometry.dimArc.Get(); }
    DimensionArc& WorkingArc() override { return workGeometry.dimArc.Get(); }
    void TakeCurrentRecord() override { Working() = Current(); }
    DimArcRecord& Current() { return geometry.dimArc.Get(); }
    DimArcRecord& Working() { return workGeometry.dimArc.Get(); }

protected:
    void FormatLabel() override;
};
