#pragma once

#include <functional>

#include "geometry/CDimArcBase.h"

// The angle dimension: the angle between two crossing lines (fromLines 1,
// the cursor picks one of the four angles they form) or the central angle
// of an arc, shown in degrees on a dimension arc about the vertex.
class CDimAngle : public CDimArcBase {
    DECLARE_SERIAL(CDimAngle)
public:
    CDimAngle() : CDimArcBase(UnitFamily::dimAngle) {}

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void CommitTransform() override;
    int GetType() override { return 19; }
    double GetSweepAngle() override;
    void Move(x_Vector offset) override;
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;

    DimensionArc& CurrentArc() override { return geometry.dimAngle.Get(); }
    DimensionArc& WorkingArc() override { return workGeometry.dimAngle.Get(); }
    void TakeCurrentRecord() override { Working() = Current(); }
    DimAngleRecord& Current() { return geometry.dimAngle.Get(); }
    DimAngleRecord& Working() { return workGeometry.dimAngle.Get(); }

    // The four angles of two crossing lines, each a counter-clockwise sweep
    // (first, second) of at most π; filled while the dimension follows the
    // cursor.
    struct AnglePair {
        double first = 0.0;
        double second = 0.0;
    };
    AnglePair anglePairs[4];

    // The sweep of a dimension arc, positive; below 1e-10 it is 0.
    static double SweepOf(const DimensionArc& arc);

protected:
    Witnesses WorkingWitnesses() override;
    void FormatLabel() override;

private:
    bool LinePointsKnown();
    void BuildAnglePairs();
    void ChooseAngle(const x_Vector& cursor);
    void FindWitnesses();
    void TransformPoints(const std::function<void(x_Vector&)>& f);
};
