#pragma once

#include "geometry/CUnit.h"

// Builder of the rectangle command: two opposite corners of an
// axis-parallel rectangle (inputPoints[0] and [1], committed into
// geometry.rectangle). Its type answer is the base one, 0.
class CRectangle : public CUnit {
    DECLARE_SERIAL(CRectangle)
public:
    CRectangle();

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void CommitTransform() override;
};
