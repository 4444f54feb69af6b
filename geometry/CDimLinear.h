#pragma once

#include "geometry/CDimension.h"

// The linear dimension: the X distance (linearMode 1, horizontal dimension
// line) or the Y distance (mode 0, vertical line) between p1 and p2; the
// cursor chooses the mode while it is placed. inputPoints[0] and [1] keep
// the ends of the dimension line of the last commit.
class CDimLinear : public CDimension {
    DECLARE_SERIAL(CDimLinear)
public:
    CDimLinear() = default;

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 16; }
    void Move(x_Vector offset) override { MoveRecord(offset, 4); }
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;

    // The mode the cursor p chooses for the working record.
    void ChooseMode(const x_Vector& p);
    // lineStart and lineEnd from distance, angle and mode of the working record.
    void BuildDimensionLine();
    // extEnd1, extEnd2 and the segments from lineStart and lineEnd.
    void BuildExtensions();

private:
    void SnapToAxis();
};
