#pragma once

// The wire-path entity: the lower and upper element lists of one generated
// path and its parameter record. Drawn, picked, moved, copied, saved with
// the drawing and exported like any entity; its geometry is the two lists,
// not a UnitGeometry record.

#include <cstdint>

#include "geometry/CUnit.h"
#include "geometry/x_TrailData.h"
#include "wirepath/TrailParams.h"
#include "wirepath/path_check.h"
#include "wirepath/x_TrailData_Work.h"

struct TrailPath;

// World box of one drawn element.
struct x_RectData {
    x_Vector min;
    x_Vector max;
};

class CTrail : public CUnit {
    DECLARE_SERIAL(CTrail)
public:
    CTrail();
    ~CTrail() override;

    x_TrailDataArray trails[2];             // lower, upper (empty for straight cuts)
    CArray<x_TrailData_Work> workTrails[2]; // never filled, never stored
    x_TrailDataArray baseTrails[2];         // generation's uncompensated contours
    SurfaceIntent checkIntents[2];          // what generation built each surface to be
    TrailParams params;
    std::uint8_t offsetOutside[2] = {0, 0}; // the compensated contour encloses the contour
    CArray<x_RectData> drawnPieces;         // element boxes, rebuilt by Draw
    double drawZ = 0.0;
    std::int32_t lastScreenPoint[2] = {0, 0};

    void Serialize(CArchive& ar) override;
    void OnPick(CDC* dc, CUnitView* view, x_Vector point) override;
    bool HitTest(x_Vector point, std::uint8_t mode) override;
    void Draw(CDC* dc, int mode, std::uint8_t* raster) override;
    int GetType() override { return 66; }
    bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode) override;
    void Move(x_Vector offset) override;
    bool Copy(int mode, CUnit*& out) override;
    void ComputeExtents() override;
    virtual double ArcElementDistance(x_Vector point, x_Vector centre, double radius, double a0, double a1,
                                      std::uint8_t direction);

    // Start of the first element of a surface; (0, 0) invalid when the
    // list is empty or its first element is neither a line nor an arc.
    x_Vector GetElementStartPoint(int surface) const;
    // End of the last element of the lower list, the same way.
    x_Vector GetElementEndPoint() const;

    // The engine's result becomes the path's lists and parameters.
    void TakeBuilt(TrailPath& built);
    // The path's lists and parameters as the engine's work record.
    void GiveToEngine(TrailPath& work) const;
};
