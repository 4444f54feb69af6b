#pragma once

#include "geometry/CUnit.h"

// Builder of the polyline command: inputPoints[0] and [1] hold the segment
// being placed. The view makes the pieces (pieceOf 2) when it completes.
class CPolyLine : public CUnit {
    DECLARE_SERIAL(CPolyLine)
public:
    CPolyLine();
    ~CPolyLine() override;

    void Serialize(CArchive& ar) override;
    void ResetState() override {}
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    int GetType() override { return 9; }
};
