#include "geometry/CUnit.h"

#include "platform/core/CArchive.h"

#include <bit>
#include <utility>

namespace {

std::uint8_t ReadBool(CArchive& ar)
{
    std::uint8_t b = 0;
    ar >> b;
    return b != 0 ? 1 : 0;
}

// Points that are all (0, 0) take no storage of their own; a -0.0 counts
// as a click so that the bytes written back are the bytes read.
void ReadInputPoints(CArchive& ar, UnitInputPoints& points)
{
    x_Vector read[UnitInputPoints::kCount];
    bool clicked = false;
    for (x_Vector& p : read) {
        ar >> p;
        clicked = clicked || std::bit_cast<std::uint64_t>(p.x) != 0 || std::bit_cast<std::uint64_t>(p.y) != 0;
    }
    if (!clicked) {
        points.Clear(1);
        return;
    }
    for (int i = 0; i < UnitInputPoints::kCount; ++i)
        points[i] = read[i];
}

} // namespace

// The common record, 162 bytes, no version word:
//   0 inputPoints[0..3] (x, y each)  64 complete    65 extentMin x, y
//  81 extentMax x, y   97 listIndex  101 temporary  102 unitId (64-bit)
// 110 role  114 ownerNo  118 textStyle  122 pieceOf  126 group  130 chainDir
// 134 lineStyle  138 colour  142 dashDot  143 radiusMode  147 gearKind
// 148 gearHandle  149 toothCount  153 taperAngle  161 blockMember
void CUnit::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        for (const x_Vector& p : std::as_const(inputPoints))
            ar << p;
        ar << std::uint8_t(complete ? 1 : 0);
        ar << extentMin.x << extentMin.y << extentMax.x << extentMax.y;
        ar << listIndex << std::uint8_t(temporary ? 1 : 0) << unitId;
        ar << role << ownerNo << textStyle << pieceOf << group << chainDir << lineStyle;
        ar << colour << dashDot << radiusMode << gearKind << gearHandle << toothCount;
        ar << taperAngle << blockMember;
        return;
    }
    ReadInputPoints(ar, inputPoints);
    complete = ReadBool(ar);
    ar >> extentMin.x >> extentMin.y >> extentMax.x >> extentMax.y;
    ar >> listIndex;
    temporary = ReadBool(ar);
    ar >> unitId;
    ar >> role >> ownerNo >> textStyle >> pieceOf >> group >> chainDir >> lineStyle;
    ar >> colour >> dashDot >> radiusMode >> gearKind >> gearHandle >> toothCount;
    ar >> taperAngle >> blockMember;
}
