#pragma once

#include "geometry/CEllipse.h"

// An elliptic arc, type 6: the run of an ellipse from startParam to endParam,
// the parameter growing with direction 0 and shrinking with 1. The
// parameters are not normalised; endParam = startParam ± 2π is the whole
// ellipse (path preparation makes such closed arcs).
class CEllipseArc : public CEllipseCommon {
    DECLARE_SERIAL(CEllipseArc)
public:
    CEllipseArc();
    ~CEllipseArc() override;

    void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    void SetStartFromPoint(x_Vector point) override;
    void SetEndFromPoint(x_Vector point) override;
    int GetType() override { return 6; }
    // The point at the working parameter of point, on the run only (the
    // span always applies).
    x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                          double* distance = nullptr, int reserved = 0) override;
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    double ParameterAtPointWork(x_Vector& point) override;
    int Trim(int reserved, x_Vector point, int listIndex) override;
    int Break(x_Vector point, x_Vector& out) override;
    bool Copy(int mode, CUnit*& out) override;
    bool AppendDirectionRecord(x_Vector point) override;
    int SplitAtCrossings(int reserved1, x_Vector point, int direction, int reserved2,
                         x_Vector& out) override;
    x_Vector GetMidPoint() override;
    void UpdateGripPoints() override;

    EllipseRecord GetEllipseRecord(EllipseRecord& out);

private:
    void StepCreate(CDC* dc, CUnitView* view, const x_Vector& cursor);
};

// An elliptic arc of the current settings (new id) on the shape of e
// (centre, axis, ratio, direction) from start to end; complete.
CEllipseArc* NewEllipseArc(const EllipseRecord& e, double start, double end);
