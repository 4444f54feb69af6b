#pragma once

#include "geometry/CUnit.h"

// A circular arc: geometry.arc (centre, radius, start and end angle in no
// fixed range, direction 0 counter-clockwise). inputPoints[0..2] hold the
// start, mid and end point after every rebuild of the key points; a grip
// drag moves one of them and rebuilds the arc through the three.
class CArc : public CUnit {
    DECLARE_SERIAL(CArc)
public:
    CArc();
    ~CArc() override;

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
    void CommitTransform() override;
    int GetType() override { return 8; }
    double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit) override;
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    x_Vector GetStartPoint() override;
    x_Vector GetEndPoint() override;
    bool GetDirection() override { return geometry.arc.direction != 0; }
    void SetDirection(bool clockwise) override { geometry.arc.direction = clockwise ? 1 : 0; }
    double GetStartAngle() override { return geometry.arc.startAngle; }
    void SetStartAngle(double angle) override { geometry.arc.startAngle = angle; }
    double GetEndAngle() override { return geometry.arc.endAngle; }
    void SetEndAngle(double angle) override { geometry.arc.endAngle = angle; }
    void SetCentre(x_Vector& centre) override { geometry.arc.centre = centre; }
    double GetSweepAngle() override;
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

    void UpdateKeyPoints();
    bool OffsetForPath(CUnit*& out, double reserved, double distance, int side, int role, int owner);
    void FlattenWorkCurve();
    // The current record flattened (flatPoints), made again after a change.
    const x_VectorArray& FlatOutline();

private:
    void DrawOnRaster(std::uint8_t* raster) const;
    void StepGripDrag(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void StepCreate(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void EraseRubber(CDC* dc, const x_Vector& cursor);
};

// An arc of the current settings (new id) with centre, radius, angles and
// direction; complete.
CArc* NewArc(const x_Vector& centre, double radius, double start, double end, std::uint8_t direction);

// Sweep of an arc record with its angles brought into [0, 2π) first (angles
// from files and mirrored blocks lie anywhere); equal angles: a full turn.
double ArcSweep(const ArcRecord& arc);
// Point of an arc's circle at angle t.
x_Vector ArcPointAt(const ArcRecord& arc, double t);

// World points as a polyline through the view transform: mode 0 on dc with
// the cached pen, otherwise into the raster in the raster pen. Returns the
// number of points visited.
int DrawWorldPolyline(CDC* dc, const x_VectorArray& points, int mode, std::uint8_t* raster);
