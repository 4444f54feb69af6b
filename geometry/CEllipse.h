#pragma once

#include "geometry/CUnit.h"

// Conversions on an ellipse record (eccentric angles, radians).
// The point at parameter t: centre + (a·cos t, b·sin t) turned by the axis angle.
x_Vector EllipsePointAt(const EllipseRecord& e, double t);
// The parameter of the ray through q in the frame where the ellipse is a
// circle, in [0, 2π); exact for points on the curve.
double EllipseParameterOf(const EllipseRecord& e, const x_Vector& q);
double EllipseAxisAngle(const EllipseRecord& e);
// How far the run turns in its direction, wrapped as an arc's sweep; a
// closed run (equal ends modulo 2π) is 2π.
double EllipseSweep(const EllipseRecord& e);
// Whether parameter t lies on the run from startParam in its direction.
bool EllipseParamInRun(const EllipseRecord& e, double t);
// t moved by whole turns onto the run: [s, s + 2π) for direction 0,
// (s − 2π, s] for direction 1, so pieces split at it keep a monotone run.
double EllipseUnwrapIntoRun(const EllipseRecord& e, double t);

class CUnitView;

// The bodies that the ellipse and the elliptic arc share: the record is
// geometry.ellipse in both, and minorAxis a cache of the current record.
class CEllipseCommon : public CUnit {
public:
    ~CEllipseCommon() override;

    x_Vector minorAxis;                 // semi-minor axis vector; not archived

    void Serialize(CArchive& ar) override;
    void DrawHighlight(CDC* dc, int show) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void DrawGrips(CDC* dc) override;
    // Working record from inputPoints[0] and [1] (the major-axis ends).
    // Coincident points leave it unchanged and answer −1 (the click is to
    // be ignored), else 0.
    double BuildEllipseFromInput(x_Vector p, x_Vector q) override;
    int HitTestGrip(x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit) override;
    double ParameterAtPoint(x_Vector& point) override;
    x_Vector GetStartPoint() override;
    x_Vector GetEndPoint() override;
    bool GetDirection() override { return geometry.ellipse.direction != 0; }
    void SetDirection(bool clockwise) override { geometry.ellipse.direction = clockwise ? 1 : 0; }
    double GetAxisAngle() override { return EllipseAxisAngle(geometry.ellipse); }
    double GetStartAngle() override { return geometry.ellipse.startParam; }
    void SetStartAngle(double angle) override { geometry.ellipse.startParam = angle; }
    double GetEndAngle() override { return geometry.ellipse.endParam; }
    void SetEndAngle(double angle) override { geometry.ellipse.endParam = angle; }
    x_Vector GetCentre() override { return geometry.ellipse.centre; }
    void SetCentre(x_Vector& centre) override { geometry.ellipse.centre = centre; }
    x_Vector GetMajorAxis() override { return geometry.ellipse.majorAxis; }
    void SetMajorAxis(x_Vector& axis) override { geometry.ellipse.majorAxis = axis; }
    double GetAxisRatio() override { return geometry.ellipse.axisRatio; }
    void SetAxisRatio(double ratio) override { geometry.ellipse.axisRatio = ratio; }
    double GetSweepAngle() override { return EllipseSweep(geometry.ellipse); }
    double GetSemiMajor() override;
    double GetSemiMinor() override;
    double GetLength() override;
    void Move(x_Vector offset) override;
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Scale(x_Vector base, x_Vector factors) override;
    bool Offset(CUnit*& out, double distance, int side) override;

    void FlattenWorkCurve();
    // Whether the creating command may take this click: the second axis end
    // on the first (collected 1) or the minor-axis point on the centre
    // (collected 2) would make a ratio of infinity or 0.
    bool AcceptsClick(int collected, const x_Vector& click) const;

protected:
    CEllipseCommon();
    // Select, or start a grip drag; centreGrip is the grip that moves it.
    void PickWithCentreGrip(CDC* dc, CUnitView* view, const x_Vector& point, int centreGrip);
    // Snap candidates; an elliptic arc keeps to its run.
    bool SnapOnCurve(x_Vector& reference, x_Vector& cursor, int mode, bool arc);
    // The minor axis through point from the centre and the ratio it gives;
    // false (nothing changed) when point lies on the centre.
    bool SetMinorFrom(const x_Vector& point);
    void EraseRubber(CDC* dc);
    void CopyInto(CEllipseCommon* copy, int mode);
};

// A closed ellipse, type 5: startParam 0, endParam 2π, never shortened.
class CEllipse : public CEllipseCommon {
    DECLARE_SERIAL(CEllipse)
public:
    CEllipse();
    ~CEllipse() override;

    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int GetType() override { return 5; }
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    int Trim(int reserved, x_Vector point, int listIndex) override;
    int Break(x_Vector, x_Vector&) override { return -1; }
    bool Copy(int mode, CUnit*& out) override;
    bool AppendDirectionRecord(x_Vector point) override;
    int SplitAtCrossings(int reserved1, x_Vector point, int direction, int reserved2,
                         x_Vector& out) override;
    x_Vector GetMidPoint() override { return GetStartPoint(); }
    void UpdateGripPoints() override;

private:
    void StepAxisGrip(CDC* dc, CUnitView* view, const x_Vector& cursor);
    void StepCreate(CDC* dc, CUnitView* view, const x_Vector& cursor);
};
