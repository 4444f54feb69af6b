#include "geometry/CDimArc.h"

#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "platform/core/CArchive.h"

IMPLEMENT_SERIAL(CDimArc, CUnit, 1)

// The arc tail, then measuredId (64 bits, low word first): 69 bytes with an
// empty stored text.
void CDimArc::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    SerializeArc(ar);
    if (ar.IsStoring())
        ar << Current().measuredId;
    else
        ar >> Current().measuredId;
}

// Only the distance of the dimension arc follows the cursor.
void CDimArc::InteractiveStep(CDC* dc, CUnitView*, x_Vector p)
{
    if (g_cmdStep != 4 && g_cmdPointCount != 2)
        return;
    if (rubberShown)
        DrawRubber(dc, p);
    rubberShown = 1;
    Working().radius = x_Vector::Distance(p, Working().centre);
    DrawRubber(dc, p);
}

void CDimArc::FormatLabel()
{
    text.Format(u"%.4f", Working().value);
}

void CDimArc::Draw(CDC* dc, int mode, std::uint8_t* raster)
{
    DrawDimensionArc(dc, mode, raster, true, PointListCull::aboveCommandBar);
}

void CDimArc::DrawRubber(CDC* dc, x_Vector)
{
    DrawArcRubber(dc, PointListCull::aboveCommandBar);
}

// The length of the measured arc is read again; a deleted or missing arc
// leaves the value as it was.
void CDimArc::CommitTransform()
{
    DimArcRecord& w = Working();
    if (g_pDoc != nullptr) {
        for (CUnit* u : g_pDoc->m_unitList) {
            if (u != nullptr && !u->deleted && u->unitId == w.measuredId) {
                w.value = u->GetLength();
                break;
            }
        }
    }
    Current() = w;
    complete = 1;
    gripsValid = 0;
}

void CDimArc::Move(x_Vector d)
{
    TakeCurrentRecord();
    MoveArc(d);
}

bool CDimArc::Rotate(x_Vector c, double angle)
{
    TakeCurrentRecord();
    RotateArc(c, angle);
    return true;
}

bool CDimArc::Scale(x_Vector base, x_Vector f)
{
    TakeCurrentRecord();
    ScaleArc(base, f);
    return true;
}

bool CDimArc::Mirror(x_Vector a, x_Vector b)
{
    TakeCurrentRecord();
    MirrorArc(a, b);
    return true;
}

bool CDimArc::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* copy = new CDimArc();
    if (mode == 1)
        copy->unitId = unitId;
    copy->Working() = mode == 2 ? Working() : Current();
    copy->Current() = copy->Working();
    CopyCommonAttributes(copy);
    copy->complete = 1;
    out = copy;
    return true;
}
