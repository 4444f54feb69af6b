#pragma once

#include "geometry/CUnit.h"

// The tool-setting point: a start and an end point (inputPoints[0] and [1]),
// each drawn as a small filled square. It is never transformed.
class CutPoint : public CUnit {
    DECLARE_SERIAL(CutPoint)
public:
    CutPoint();

    x_Vector& StartPoint() { return inputPoints[0]; }
    x_Vector& EndPoint() { return inputPoints[1]; }

    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int HitTestGrip(x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 24; }
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    bool Copy(int mode, CUnit*& out) override;
};

// A 5-pixel filled square at point: green when the unit is selected, else
// red for the start (endFlag 0) and blue for the end.
void DrawCutPointMarker(CUnit* unit, const x_Vector& point, int endFlag, CDC* dc);
