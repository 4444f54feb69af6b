#include "geometry/CDimAngle.h"

#include <cmath>

#include "geometry/GeometryState.h"
#include "geometry/plane_geometry.h"
#include "platform/core/CArchive.h"

IMPLEMENT_SERIAL(CDimAngle, CUnit, 1)

namespace {

constexpr double kSameDirection = 0.0001;

double Opposite(double a)
{
    a += kPi;
    return a > kTwoPi ? a - kTwoPi : a;
}

} // namespace

// The arc tail, then fromLines (byte), witness1, witness2: 94 bytes with an
// empty stored text. The line points are not archived.
void CDimAngle::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    SerializeArc(ar);
    DimAngleRecord& r = Current();
    if (ar.IsStoring()) {
        ar << r.fromLines << r.witness1 << r.witness2;
        return;
    }
    ar >> r.fromLines >> r.witness1 >> r.witness2;
}

double CDimAngle::SweepOf(const DimensionArc& r)
{
    constexpr double eps = 1e-10;
    double sweep = 0.0;
    if (r.direction == 0)
        sweep = (r.startAngle > r.endAngle - eps ? r.endAngle + kTwoPi : r.endAngle) - r.startAngle;
    else
        sweep = (r.endAngle + eps > r.startAngle ? r.startAngle + kTwoPi : r.startAngle) - r.endAngle;
    return std::fabs(sweep) < eps ? 0.0 : sweep;
}

double CDimAngle::GetSweepAngle()
{
    return SweepOf(Current());
}

// A line-based dimension read from a file has no line points (they are not
// archived), and the angle pairs built from them scrambled its angles.
bool CDimAngle::LinePointsKnown()
{
    const DimAngleRecord& w = Working();
    return !w.line1Start.IsEqual(w.line1End) && !w.line2Start.IsEqual(w.line2End);
}

// αi: from the vertex toward the line's far end; βi the opposite. Each pair
// is put in counter-clockwise order of a sweep of at most π.
void CDimAngle::BuildAnglePairs()
{
    const DimAngleRecord& w = Working();
    auto away = [&](const x_Vector& s, const x_Vector& e) {
        return x_Vector::AngleTo(w.centre, s.IsEqual(w.centre) ? e : s);
    };
    const double a1 = away(w.line1Start, w.line1End), a2 = away(w.line2Start, w.line2End);
    const double b1 = Opposite(a1), b2 = Opposite(a2);
    anglePairs[0] = {a1, a2};
    anglePairs[1] = {a1, b2};
    anglePairs[2] = {b1, a2};
    anglePairs[3] = {b1, b2};
    for (AnglePair& pair : anglePairs) {
        const double second = pair.second < pair.first ? pair.second + kTwoPi : pair.second;
        if (second - pair.first > kPi)
            std::swap(pair.first, pair.second);
    }
}

// The angle in whose sector the cursor lies; none keeps the old one.
void CDimAngle::ChooseAngle(const x_Vector& cursor)
{
    DimAngleRecord& w = Working();
    const double h = x_Vector::AngleTo(w.centre, cursor);
    for (const AnglePair& pair : anglePairs) {
        if (AngleInSweep(h, pair.first, pair.second, 0)) {
            w.direction = 0;
            w.startAngle = pair.first;
            w.endAngle = pair.second;
            return;
        }
    }
}

// The witness line of each side starts at the end of the line that runs
// along that side; a later match overwrites an earlier one. Directions are
// compared round the circle: an angle of 2π (a line along 0 turned by π)
// never matched the direction 0 of the line itself, and the witness line
// ran to the point of an earlier choice.
void CDimAngle::FindWitnesses()
{
    DimAngleRecord& w = Working();
    auto same = [](double a, double b) { return std::fabs(std::remainder(a - b, kTwoPi)) < kSameDirection; };
    const x_Vector* lines[2][2] = {{&w.line1Start, &w.line1End}, {&w.line2Start, &w.line2End}};
    for (const auto& line : lines) {
        const x_Vector s = *line[0], e = *line[1];
        const double forward = x_Vector::AngleTo(s, e), backward = x_Vector::AngleTo(e, s);
        if (same(w.startAngle, forward))
            w.witness1 = e;
        if (same(w.endAngle, forward))
            w.witness2 = e;
        if (same(w.startAngle, backward))
            w.witness1 = s;
        if (same(w.endAngle, backward))
            w.witness2 = s;
    }
}

// Follows the cursor on the working record only: the current one changes
// at the commit. Copying it on every move made a cancelled grip drag stick.
void CDimAngle::InteractiveStep(CDC* dc, CUnitView*, x_Vector p)
{
    const bool follows = (g_cmdStep == 2 && g_cmdPointCount == 2) || g_cmdStep == 4;
    if (!follows)
        return;
    if (rubberShown)
        DrawRubber(dc, p);
    DimAngleRecord& w = Working();
    w.radius = x_Vector::Distance(p, w.centre);
    if (w.fromLines && LinePointsKnown()) {
        if (!rubberShown)
            BuildAnglePairs();
        ChooseAngle(p);
        FindWitnesses();
        w.value = SweepOf(w);
    }
    DrawRubber(dc, p);
    rubberShown = 1;
}

CDimArcBase::Witnesses CDimAngle::WorkingWitnesses()
{
    const DimAngleRecord& w = Working();
    return {w.witness1, w.witness2, w.fromLines != 0};
}

void CDimAngle::FormatLabel()
{
    text.Format(u"%.4f°", Working().value * 180.0 / kPi);
}

void CDimAngle::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    DrawDimensionArc(dc, mode, raster, false, PointListCull::clientArea);
}

void CDimAngle::DrawRubber(CDC* dc, x_Vector)
{
    DrawArcRubber(dc, PointListCull::clientArea);
}

void CDimAngle::CommitTransform()
{
    Current() = Working();
    complete = 1;
    gripsValid = 0;
}

// The line points go with the other points, so that a grip drag after a
// transform still finds the lines through the vertex.
void CDimAngle::TransformPoints(const std::function<void(x_Vector&)>& f)
{
    DimAngleRecord& w = Working();
    for (x_Vector* p : {&w.witness1, &w.witness2, &w.line1Start, &w.line1End, &w.line2Start, &w.line2End})
        f(*p);
}

void CDimAngle::Move(x_Vector d)
{
    TakeCurrentRecord();
    MoveArc(d);
    TransformPoints([&](x_Vector& p) {
        p = p + d;
        p.valid = 1;
    });
}

bool CDimAngle::Rotate(x_Vector c, double angle)
{
    TakeCurrentRecord();
    RotateArc(c, angle);
    TransformPoints([&](x_Vector& p) { p.RotateAbout(c, angle); });
    return true;
}

bool CDimAngle::Scale(x_Vector base, x_Vector f)
{
    TakeCurrentRecord();
    ScaleArc(base, f);
    TransformPoints([&](x_Vector& p) { p.ScaleAbout(base, f.x, f.y); });
    return true;
}

bool CDimAngle::Mirror(x_Vector a, x_Vector b)
{
    TakeCurrentRecord();
    MirrorArc(a, b);
    TransformPoints([&](x_Vector& p) { p.MirrorAbout(a, b); });
    return true;
}

bool CDimAngle::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* copy = new CDimAngle();
    if (mode == 1)
        copy->unitId = unitId;
    copy->Working() = mode == 2 ? Working() : Current();
    copy->Current() = copy->Working();
    CopyCommonAttributes(copy);
    copy->complete = 1;
    out = copy;
    return true;
}
