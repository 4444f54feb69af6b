#pragma once

// The base of every drawing entity: geometry in two copies (current and
// working), display attributes, identity, role and group, state flags,
// cached point lists, the common archive record and the 77 virtual
// operations through which the view, the document, the edits and the path
// engine reach an entity. Slots with no behaviour keep their place.

#include <cstdint>

#include "geometry/GeometryState.h"
#include "geometry/LazyRecord.h"
#include "geometry/UnitGeometry.h"
#include "geometry/UnitInputPoints.h"
#include "geometry/x_Vector.h"
#include "platform/core/CArray.h"
#include "platform/core/CObject.h"
#include "platform/core/block_pool.h"
#include "platform/gdi/gdi_types.h"

class CArchive;
class CDC;
class CUnitView;

using x_VectorArray = CArray<x_Vector>;

// One object-snap candidate: a point and its snap kind.
struct x_PolerData {
    x_Vector point;
    std::int32_t kind = 0;
};

// Roles of a unit.
enum UnitRole : std::int32_t {
    kRoleDrawing = 0,
    kRoleLeadLine = 1,
    kRoleGearHandle = 2,
    kRoleDerivedPiece = 3,
    kRolePath = 4,
    kRoleAnnotation = 5,
    kRoleCutPoint = 6,
    kRoleBlockMember = 10,
};

// Where the last grip drag, hit test, snap, split and move of a unit took
// place. Only units that a user or path preparation touches have one, so it
// lives outside the unit (CUnit::edit).
struct UnitEditState {
    x_Vector dragStart;                 // grip where the current drag began
    x_Vector dragPoint;                 // current position of the dragged grip
    x_Vector gripHit;                   // found by the last HitTestGrip or SnapPoints
    x_Vector hitPoint;                  // point recorded by a hit test
    x_Vector splitPoint;                // where path preparation split a spline
    x_Vector moveDelta;                 // offset of the last Move
};

// Which colour rule a class's Draw follows.
enum class DrawRule { line, curve, annotation };

// Colour and pen style chosen for one Draw, and the raster pattern of mode 1.
struct UnitDrawStyle {
    COLORREF colour = 0;
    std::int32_t lineStyle = 0;         // 0 solid, 1 dashed, 2 dotted
    std::uint8_t rasterPattern = 0;     // 3: dash-dot
};

class CUnit : public CObject {
    DECLARE_SERIAL(CUnit)
public:
    CUnit();
    // Both geometry copies start as the default record of family.
    explicit CUnit(UnitFamily family);
    ~CUnit() override;                                              // 1

    // A drawing holds units by the hundred thousand: they live in the
    // block pool. The deleting destructor passes the class's own size.
    static void* operator new(std::size_t size) { return PoolAllocate(size); }
    static void operator delete(void* unit, std::size_t size) noexcept { PoolFree(unit, size); }

    // --- fields: first those a frame reads of every unit, ending with
    // gripsPending within the first kFrameBytes (a large drawing's units do
    // not stay in the caches, and each line a frame brings in pushes the
    // raster out); then the rest, grouped by width so that a unit carries no
    // padding. Their initialisers are the values ResetState gives ---
    static constexpr std::size_t kFrameBytes = 320;
    UnitGeometry geometry;
    UnitGeometry workGeometry;
    x_Vector extentMin;
    x_Vector extentMax;
    x_Vector refPoint{0.0, 0.0, 0};
    COLORREF colour = 0;
    std::int32_t lineStyle = 0;
    std::int32_t listIndex = -1;
    std::int32_t role = 0;
    std::int32_t group = 0;
    std::int32_t pieceOf = 0;
    std::uint8_t dashDot = 0;
    std::uint8_t blockMember = 0;
    std::uint8_t flatValid = 0;
    std::uint8_t temporary = 0;
    std::uint8_t walked = 0;
    std::uint8_t splitMarked = 0;
    std::uint8_t rubberShown = 0;
    std::uint8_t refActive = 0;
    std::uint8_t auxKind = 0;
    std::uint8_t gearKind = 0;
    std::uint8_t gearHandle = 0;
    std::uint8_t wearMarked = 0;
    std::uint8_t chainScratchA = 0;
    std::uint8_t chainScratchB = 0;
    std::uint8_t selected = 0;
    std::uint8_t highlighted = 0;
    std::uint8_t picked = 0;
    std::uint8_t hoverShown = 0;
    std::uint8_t complete = 0;
    std::uint8_t visible = 1;
    std::uint8_t deleted = 0;
    std::uint8_t gripsValid = 0;
    std::uint8_t gripsPending = 0;      // see DeferGripPoints; the last a frame reads

    std::int32_t brushStyle = 1;
    std::int32_t snapKind = 0;
    std::int32_t hitSegment = 0;
    std::int32_t textStyle = 0;
    std::int32_t splitDir = 0;
    std::int32_t chainDir = 2;
    std::int32_t contourShape = 0;
    std::int32_t contourNo = 0;
    std::int32_t ownerNo = 0;
    std::int32_t radiusMode = 0;
    std::int32_t toothCount = 0;
    std::int32_t editStamp = 0;
    std::uint64_t unitId = 0;
    double compensation = 0.0;
    double auxValue = 1.0;
    double taperAngle = 0.0;
    x_VectorArray keyPoints;
    x_VectorArray nodes;
    x_VectorArray gripPoints;
    x_VectorArray workCurve;
    x_VectorArray flatPoints;
    CArray<std::uint8_t> wearSteps;
    UnitInputPoints inputPoints;
    LazyRecord<UnitEditState> edit;

    // --- virtual operations in slot order (GetRuntimeClass is slot 0) ---
    void Serialize(CArchive& ar) override;                          // 2
    virtual void AssertValid() const {}                             // 3
    virtual void Dump() const {}                                    // 4
    virtual void ResetState();                                      // 5
    virtual void Reserved6() {}                                     // 6
    virtual void InteractiveStep(CDC* dc, CUnitView* view, x_Vector cursor);    // 7
    virtual void DrawHighlight(CDC* dc, int show);                  // 8
    virtual void DrawRubber(CDC* dc, x_Vector point);               // 9
    virtual double GetValue10(x_Vector, x_Vector) { return 0.0; }   // 10
    virtual double GetValue11(x_Vector, x_Vector) { return 0.0; }   // 11
    virtual RECT GetRect12() { return RECT(); }                     // 12
    virtual void DrawGrips(CDC* dc);                                // 13
    virtual double BuildEllipseFromInput(x_Vector p, x_Vector q);   // 14
    virtual double BuildCircleFromInput(x_Vector p, x_Vector q);    // 15
    virtual void Reserved16() {}                                    // 16
    virtual void OnPick(CDC* dc, CUnitView* view, x_Vector point);  // 17
    virtual int HitTestGrip(x_Vector point);                        // 18
    virtual bool Reserved19() { return false; }                     // 19
    virtual bool HitTest(x_Vector point, std::uint8_t mode);        // 20
    virtual void Draw(CDC* dc, int mode, std::uint8_t* raster);     // 21
    virtual void ComputeExtents();                                  // 22
    virtual int FindNodeAt(x_Vector point);                         // 23
    virtual void RebuildCurve(int flag);                            // 24
    virtual void Reserved25() {}                                    // 25
    virtual void CommitTransform();                                 // 26
    virtual void SetStartFromPoint(x_Vector point);                 // 27
    virtual void SetEndFromPoint(x_Vector point);                   // 28
    virtual int GetType();                                          // 29
    virtual bool BuildRegularPolygon(x_Vector centre, x_Vector vertex, int sides);   // 30
    virtual bool BuildPolygonFromPoints(x_Vector p0, x_Vector p1, int sides);        // 31
    virtual double DistanceTo(x_Vector& point, int reserved1, int reserved2, double limit);  // 32
    virtual double GetValue33() { return 0.0; }                     // 33
    // The point of the entity nearest to point (on its span when withinSpan);
    // written to out and returned; distance may be null.
    virtual x_Vector NearestPoint(x_Vector& out, x_Vector& point, std::uint8_t withinSpan,
                                  double* distance = nullptr, int reserved = 0);   // 34
    virtual bool SnapPoints(x_Vector& reference, x_Vector& cursor, int reserved, int mode);  // 35
    virtual double ParameterAtPointWork(x_Vector& point);           // 36
    virtual double ParameterAtPoint(x_Vector& point);               // 37
    virtual x_Vector GetStartPoint();                               // 38
    virtual x_Vector GetEndPoint();                                 // 39
    virtual void SetStartPoint(x_Vector point);                     // 40
    virtual void SetEndPoint(x_Vector point);                       // 41
    virtual bool GetDirection();                                    // 42
    virtual void SetDirection(bool clockwise);                      // 43
    virtual double GetAxisAngle();                                  // 44
    virtual double GetStartAngle();                                 // 45
    virtual void SetStartAngle(double angle);                       // 46
    virtual double GetEndAngle();                                   // 47
    virtual void SetEndAngle(double angle);                         // 48
    virtual x_Vector GetCentre();                                   // 49
    virtual void SetCentre(x_Vector& centre);                       // 50
    virtual x_Vector GetMajorAxis();                                // 51
    virtual void SetMajorAxis(x_Vector& axis);                      // 52
    virtual double GetAxisRatio();                                  // 53
    virtual void SetAxisRatio(double ratio);                        // 54
    virtual double GetSweepAngle();                                 // 55
    virtual double GetSemiMajor();                                  // 56
    virtual double GetSemiMinor();                                  // 57
    virtual double GetLength();                                     // 58
    virtual int Trim(int reserved, x_Vector point, int listIndex);  // 59
    virtual void Move(x_Vector offset);                             // 60
    virtual int Break(x_Vector point, x_Vector& out);               // 61
    virtual bool Mirror(x_Vector a, x_Vector b);                    // 62
    virtual bool Rotate(x_Vector centre, double angle);             // 63
    virtual bool Copy(int mode, CUnit*& out);                       // 64
    virtual bool Scale(x_Vector base, x_Vector factors);            // 65
    virtual bool AppendDirectionRecord(x_Vector point);             // 66
    virtual int SplitAtCrossings(int reserved1, x_Vector point, int direction, int reserved2,
                                 x_Vector& out);                    // 67
    virtual void Reserved68() {}                                    // 68
    virtual x_Vector GetMidPoint();                                 // 69
    virtual bool IsOnPath();                                        // 70
    virtual void FreeCaches();                                      // 71
    virtual void BuildInvoluteCurve();                              // 72
    virtual void ComputeSampleStep();                               // 73
    virtual void UpdateGripPoints();                                // 74
    // Copies the attributes that survive a copy into target.
    virtual void CopyCommonAttributes(CUnit* target);               // 75
    virtual bool Offset(CUnit*& out, double distance, int side);    // 76

    // --- helpers the overrides share ---
    // Colour and style of a Draw by the state rule; forces a stored
    // lineStyle outside 0..2 to 0 first. Inline for the plain unit (not
    // marked, drawing role, no property panel), which a frame meets for
    // nearly every unit.
    UnitDrawStyle ChooseDrawStyle(DrawRule rule)
    {
        if (lineStyle >= 0 && lineStyle <= 2 && (selected | picked | highlighted) == 0 && role == kRoleDrawing
            && g_PropertyPanelShown == 0)
            return {colour, lineStyle, static_cast<std::uint8_t>(lineStyle == 1 && dashDot ? 3 : lineStyle)};
        return ChooseMarkedDrawStyle(rule);
    }
    UnitDrawStyle ChooseMarkedDrawStyle(DrawRule rule);
    // The 1-based index of the grip under point (0 none); a hit is kept in
    // edit->gripHit.
    int FindGrip(x_Vector point);
    // After drawing: rebuild grips and extents when they are stale.
    void RefreshCachesAfterDraw();
    // A frame's refresh of stale caches for the classes that a large
    // drawing holds by the hundred thousand (lines, arcs, circles): the
    // extents now, for culling; the key points and grips are left to their
    // first reader (EnsureGripPoints), since few units are ever picked, and
    // making them for every unit of an opened drawing was most of its
    // first frame. gripsValid is set as before.
    void DeferGripPoints();
    // The key points and grips a frame left pending, made now; every reader
    // of keyPoints, gripPoints or an arc's key points calls it first.
    void EnsureGripPoints()
    {
        if (gripsPending) {
            gripsPending = 0;
            BuildPendingGrips();
        }
    }
    // What DeferGripPoints left: by default UpdateGripPoints.
    virtual void BuildPendingGrips() { UpdateGripPoints(); }
    // The unset point (0, 0), valid 0, that readers test.
    static x_Vector Unset() { return {0.0, 0.0, 0}; }
};

// The 162 bytes of the common record.
constexpr int kUnitRecordSize = 162;

// Copies of the current records of a unit.
CircleRecord GetCircleRecord(const CUnit& unit);
x_Vector GetCircleCentre(const CUnit& unit);
ArcRecord GetArcRecord(const CUnit& unit);
x_Vector GetArcCentre(const CUnit& unit);
// Two-point record of the step engine: both points (0, 0), valid.
void InitTwoPointRecord(x_Vector& first, x_Vector& second);
