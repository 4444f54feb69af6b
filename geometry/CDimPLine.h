#pragma once

#include "geometry/CDimension.h"

// The ordinate dimension: the X or Y coordinate of the feature point p1,
// written with two decimals at the text point p2, at the end of an
// axis-parallel leader.
class CDimPLine : public CDimension {
    DECLARE_SERIAL(CDimPLine)
public:
    CDimPLine() = default;

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override { CommitCommon(); }
    int GetType() override { return 25; }
    void Move(x_Vector offset) override { MoveRecord(offset, 2); }
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;
    void UpdateGripPoints() override;

};

// The leader from the feature point p1 to the text point p2: one to three
// segments into out; returns their number.
int OrdinateLeader(const x_Vector& p1, const x_Vector& p2, x_LineData out[3]);
