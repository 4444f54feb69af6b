#pragma once

#include "geometry/CUnit.h"
#include "geometry/spline_math.h"

// A free curve: the interpolating cubic through `nodes` (kind 0), an involute
// flank (kind 1, geometry.spline's base circle; nodes are its two ends) or a
// B-spline with `nodes` as control points (kind 2). keyPoints is the working
// copy of the nodes; flatPoints the flattened curve as last drawn, from which
// it is picked, measured and cut up.
class CSplines : public CUnit {
    DECLARE_SERIAL(CSplines)
public:
    CSplines();
    ~CSplines() override;

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawHighlight(CDC* dc, int show) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void DrawGrips(CDC* dc) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int HitTestGrip(x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    int FindNodeAt(x_Vector point) override;
    void RebuildCurve(int flag) override;
    void CommitTransform() override;
    int GetType() override { return 11; }
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    x_Vector GetStartPoint() override;
    x_Vector GetEndPoint() override;
    void SetStartPoint(x_Vector point) override;
    void SetEndPoint(x_Vector point) override;
    double GetLength() override;
    void Move(x_Vector offset) override;
    int Break(x_Vector, x_Vector&) override { return -1; }
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;
    bool AppendDirectionRecord(x_Vector point) override;
    int SplitAtCrossings(int reserved1, x_Vector point, int direction, int reserved2,
                         x_Vector& out) override;
    x_Vector GetMidPoint() override;
    void BuildInvoluteCurve() override;
    void ComputeSampleStep() override;
    void UpdateGripPoints() override;
    bool Offset(CUnit*& out, double distance, int side) override;

    // Slots the spline adds.
    virtual void BuildClosedCurve();                                // 77
    virtual void BuildOpenCurve();                                  // 78
    virtual x_Vector NearestEnd(const x_Vector& point, double* distance);   // 79
    virtual void BasisFunctions(int c, double t, int n, const int* x, const double* w,
                                double* r);                         // 80
    virtual void ClampedKnots(int n, int c, int* x);                // 81
    virtual void EvaluateClamped(int n, int c, int m, const double* b, const double* w,
                                 double* p);                        // 82
    virtual void UniformKnots(int n, int c, int* x);                // 83
    virtual void EvaluateUniform(int n, int c, int m, const double* b, const double* w,
                                 double* p);                        // 84
    virtual void BuildClampedCurve();                               // 85

    std::int32_t dragNode = 0;
    SplineWorkspace workspace;

private:
    void RefreshFlatPoints();
    void DrawSplit(std::uint8_t* raster, const UnitDrawStyle& style);
    void RebuildAfterTransform();
    void StepWaveLine(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void StepCreate(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void StepNodeDrag(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void EraseRubber(CDC* dc);
    CSplines* NewPiece(int direction);
};
