#include "geometry/CUnit.h"

#include "geometry/UnitRecord.h"
#include "platform/core/CArchive.h"

#include <bit>
#include <utility>

namespace {

RecordPoint ToRecord(const x_Vector& p)
{
    return {p.x, p.y};
}

x_Vector FromRecord(const RecordPoint& p)
{
    return {p.x, p.y};
}

std::uint8_t Flag(std::uint8_t b)
{
    return b != 0 ? 1 : 0;
}

// Points that are all (0, 0) take no storage of their own; a -0.0 counts
// as a click so that the bytes written back are the bytes read.
void LoadInputPoints(const RecordPoint (&read)[UnitInputPoints::kCount], UnitInputPoints& points)
{
    std::uint64_t bits = 0;
    for (const RecordPoint& p : read) {
        // By value: the record may lie unaligned in the archive's buffer.
        const double x = p.x, y = p.y;
        bits |= std::bit_cast<std::uint64_t>(x) | std::bit_cast<std::uint64_t>(y);
    }
    if (bits == 0) {
        points.Clear(1);
        return;
    }
    points.AssignEach([&](int i) { return FromRecord(read[i]); });
}

} // namespace

// The common record (UnitRecord), read and written whole: a drawing holds
// one per unit, and field-by-field archive calls were most of an open.
static_assert(sizeof(UnitRecord) == kUnitRecordSize);

void CUnit::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        UnitRecord r;
        for (int i = 0; i < UnitInputPoints::kCount; ++i)
            r.inputPoints[i] = ToRecord(std::as_const(inputPoints)[i]);
        r.complete = Flag(complete);
        r.extentMin = ToRecord(extentMin);
        r.extentMax = ToRecord(extentMax);
        r.listIndex = listIndex;
        r.temporary = Flag(temporary);
        r.unitId = unitId;
        r.role = role;
        r.ownerNo = ownerNo;
        r.textStyle = textStyle;
        r.pieceOf = pieceOf;
        r.group = group;
        r.chainDir = chainDir;
        r.lineStyle = lineStyle;
        r.colour = colour;
        r.dashDot = dashDot;
        r.radiusMode = radiusMode;
        r.gearKind = gearKind;
        r.gearHandle = gearHandle;
        r.toothCount = toothCount;
        r.taperAngle = taperAngle;
        r.blockMember = blockMember;
        ar.Write(&r, sizeof r);
        return;
    }
    UnitRecord copy;
    const UnitRecord& r = ar.ReadRecord(copy);
    LoadInputPoints(r.inputPoints, inputPoints);
    complete = Flag(r.complete);
    extentMin = FromRecord(r.extentMin);
    extentMax = FromRecord(r.extentMax);
    listIndex = r.listIndex;
    temporary = Flag(r.temporary);
    unitId = r.unitId;
    role = r.role;
    ownerNo = r.ownerNo;
    textStyle = r.textStyle;
    pieceOf = r.pieceOf;
    group = r.group;
    chainDir = r.chainDir;
    lineStyle = r.lineStyle;
    colour = r.colour;
    dashDot = r.dashDot;
    radiusMode = r.radiusMode;
    gearKind = r.gearKind;
    gearHandle = r.gearHandle;
    toothCount = r.toothCount;
    taperAngle = r.taperAngle;
    blockMember = r.blockMember;
}
