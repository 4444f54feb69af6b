#pragma once

#include "geometry/CUnit.h"

// The auxiliary line: a straight annotation segment in geometry.line with
// a line type of its own, chosen at creation in auxKind (0 the current
// type at each commit, 1 solid, 2 dotted, 3 dash-dot centre line, 4
// dashed). Geometrically a line: box, transforms, distance and nearest
// point are the line's.
class CDimDASH : public CUnit {
    DECLARE_SERIAL(CDimDASH)
public:
    CDimDASH();
    ~CDimDASH() override;

    void Serialize(CArchive& ar) override;
    void ResetState() override {}
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void DrawGrips(CDC* dc) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int HitTestGrip(x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 20; }
    double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit) override;
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    void Move(x_Vector offset) override;
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;
    void UpdateGripPoints() override;
    // The nearer end of the current line; a tie gives the start.
    x_Vector NearestEnd(x_Vector& out, const x_Vector& point, double* distance);

    // A finished line of the given kind from a to b (both copies).
    static CDimDASH* Make(const x_Vector& a, const x_Vector& b, std::uint8_t kind);

private:
    void ApplyLineType();
    void StepEndDrag(CDC* dc, CUnitView* view, const x_Vector& cursor);
};
