#pragma once

#include "geometry/CUnit.h"

// The straight segment from geometry.line.p1 (start) to p2 (end): drawn
// lines, the edges of rectangles, polygons and polylines (pieceOf 1 or 2),
// lead lines and chain pieces of path generation.
class CLine : public CUnit {
    DECLARE_SERIAL(CLine)
public:
    CLine();
    CLine(double x1, double y1, double x2, double y2);
    ~CLine() override;

    void Serialize(CArchive& ar) override;
    void ResetState() override {}
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawHighlight(CDC* dc, int show) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void DrawGrips(CDC* dc) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int HitTestGrip(x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 1; }
    double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit) override;
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    x_Vector GetStartPoint() override { return geometry.line.p1; }
    x_Vector GetEndPoint() override { return geometry.line.p2; }
    void SetStartPoint(x_Vector point) override { geometry.line.p1 = point; }
    void SetEndPoint(x_Vector point) override { geometry.line.p2 = point; }
    double GetStartAngle() override;
    double GetEndAngle() override;
    double GetLength() override;
    int Trim(int reserved, x_Vector point, int listIndex) override;
    void Move(x_Vector offset) override;
    int Break(x_Vector point, x_Vector& out) override;
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Copy(int mode, CUnit*& out) override;
    bool Scale(x_Vector base, x_Vector factors) override;
    bool AppendDirectionRecord(x_Vector point) override;
    int SplitAtCrossings(int reserved1, x_Vector point, int direction, int reserved2,
                         x_Vector& out) override;
    x_Vector GetMidPoint() override;
    void UpdateGripPoints() override;
    void BuildPendingGrips() override;
    bool Offset(CUnit*& out, double distance, int side) override;

    x_LineData GetLineRecord() const { return geometry.line; }
    // The nearer end and its distance; a tie gives p1.
    x_Vector NearestEnd(x_Vector& out, const x_Vector& point, double* distance);

private:
    void StepMoveDrag(CDC* dc, const x_Vector& cursor);
    void StepEndDrag(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void StepParallel(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void StartGripDrag(CDC* dc, CUnitView* view, int grip);
    void JoinEndDrag(CUnitView* view);
    bool IsCompoundPiece() const { return pieceOf != 0; }
    void FillGripArrays();
    void UpdateReferencePoint();
    x_Vector PerpendicularFootOnLine(const x_Vector& p) const;
};

// A new unit created by an edit goes to the end of the drawing list under
// the list lock; returns its index. Without a document the unit is freed
// and the answer is -1.
int AppendToDrawing(CUnit* unit);
