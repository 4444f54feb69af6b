#pragma once

#include "geometry/CUnit.h"

// A line through two points, unbounded where that matters. Object snap of
// the curves builds one through the reference point and the cursor and
// intersects it with the curve; it is never drawn, picked or saved beyond
// the common record.
class CConstructionLine : public CUnit {
    DECLARE_SERIAL(CConstructionLine)
public:
    CConstructionLine() : CUnit(UnitFamily::constructionLine) {}
    CConstructionLine(const x_Vector& p1, const x_Vector& p2);

    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void ComputeExtents() override;
    int GetType() override { return 14; }
    double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit) override;
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    bool Mirror(x_Vector a, x_Vector b) override;
    bool Rotate(x_Vector centre, double angle) override;
    bool Scale(x_Vector base, x_Vector factors) override;

    // The defining point nearer to point; P2 only when strictly nearer.
    x_Vector NearestEnd(x_Vector& out, const x_Vector& point, double* distance);
    x_Vector EmptyPoint78(x_Vector& out, double ignored, double* distance);
    x_Vector EmptyPoint79(x_Vector& out, double ignored, double* distance);
    x_Vector EmptyPoint80(x_Vector& out, double a, double b, double c, double* distance);
    void Translate(double dx, double dy);

    x_Vector& P1() { return geometry.constructionLine.p1; }
    x_Vector& P2() { return geometry.constructionLine.p2; }
};
