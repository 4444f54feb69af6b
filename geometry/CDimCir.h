#pragma once

#include "geometry/CDimension.h"

// The radius (radiusMode 1, "R") or diameter (0, "Ø") dimension of a circle
// or arc: centre p1, radius `distance`, text point p2 in direction `angle`.
// With the text inside the circle the line ends in arrowheads on it; with
// the text outside the line runs to the text and a 40-pixel shoulder
// carries it.
class CDimCir : public CDimension {
    DECLARE_SERIAL(CDimCir)
public:
    CDimCir() = default;

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 17; }
    void Move(x_Vector offset) override { MoveRecord(offset, 2); }
    bool Copy(int mode, CUnit*& out) override;
    void UpdateGripPoints() override;

    // 1 while the preview's arrowhead at lineEnd is on screen.
    std::int32_t arrowShown = 0;

    // The dimension line of the working record; true when the text point
    // lies outside the circle.
    bool BuildDimensionLine();
};
