#pragma once

#include "geometry/CUnit.h"

// A full circle: geometry.circle (centre, radius; direction stays 0).
// inputPoints[0] and [1] are the corners of the working circle's box, from
// which the device context draws it; while a three-point circle is created,
// inputPoints[2] holds the second click.
class CCir : public CUnit {
    DECLARE_SERIAL(CCir)
public:
    CCir();
    ~CCir() override;

    void Serialize(CArchive& ar) override;
    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void DrawHighlight(CDC* dc, int show) override;
    void DrawRubber(CDC* dc, x_Vector point) override;
    void DrawGrips(CDC* dc) override;
    double BuildCircleFromInput(x_Vector p, x_Vector q) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    int HitTestGrip(x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    void ComputeExtents() override;
    void CommitTransform() override;
    int GetType() override { return 7; }
    double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit) override;
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    x_Vector GetStartPoint() override;
    x_Vector GetEndPoint() override { return GetStartPoint(); }
    void SetCentre(x_Vector& centre) override { geometry.circle.centre = centre; }
    double GetSweepAngle() override { return kTwoPi; }
    double GetLength() override { return kTwoPi * geometry.circle.radius; }
    int Trim(int reserved, x_Vector point, int listIndex) override;
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
    void UpdateGripPoints() override;
    bool Offset(CUnit*& out, double distance, int side) override;

    bool SetFromDiameter(const x_Vector& p, const x_Vector& q);
    bool OffsetForPath(CUnit*& out, double distance, int side, int role, int owner);

private:
    void StartFromCurrent();            // working centre and radius = current
    void UpdateBoxCorners();
    void DrawRasterChords(std::uint8_t* raster, COLORREF colour, std::uint8_t pattern) const;
    void DrawBoxEllipse(CDC* dc) const;
    void DrawBoxEllipseInPen(CDC* dc, int penStyle, int width, COLORREF colour, int rop) const;
    void ShowRadius(CUnitView* view) const;
};

// A circle of the current settings (new id), complete.
CCir* NewCircle(const x_Vector& centre, double radius);
