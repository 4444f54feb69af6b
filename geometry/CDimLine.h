#pragma once

#include "geometry/CDimension.h"

// The aligned dimension: the true distance between p1 and p2, with a
// dimension line parallel to them at `distance` in direction `angle`,
// extension lines reaching 1 mm past it, oblique ticks and the length
// with four decimals.
class CDimLine : public CDimension {
    DECLARE_SERIAL(CDimLine)
public:
    CDimLine() = default;

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 15; }
    void Move(x_Vector offset) override { MoveRecord(offset, 4); }
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;

    // lineStart, lineEnd, extEnd1, extEnd2 and the segments from the
    // working record.
    void BuildDerived();
};
