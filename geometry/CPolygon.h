#pragma once

#include "geometry/CUnit.h"

// Typed side counts above this are refused ("#输入有误"): every cursor move
// rebuilds the vertex list, and a typo once asked for millions of sides.
constexpr int kMaxPolygonSides = 1000;

// Builder of the regular polygon command: keyPoints holds the closed vertex
// list (n + 1 points, the last equal to the first), refPoint the centre.
// The view replaces it by line pieces when the command completes.
class CPolygon : public CUnit {
    DECLARE_SERIAL(CPolygon)
public:
    CPolygon();
    ~CPolygon() override;

    void Serialize(CArchive& ar) override;
    void ResetState() override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    int GetType() override { return 10; }
    // From the centre and the first vertex, counter-clockwise.
    bool BuildRegularPolygon(x_Vector centre, x_Vector vertex, int sides) override;
    // From the first edge; the polygon lies to the left of p0 -> p1.
    bool BuildPolygonFromPoints(x_Vector p0, x_Vector p1, int sides) override;
};
