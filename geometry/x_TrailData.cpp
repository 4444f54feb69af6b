#include "geometry/x_TrailData.h"

#include <cmath>
#include <cstring>

#include "platform/core/CArchive.h"

double x_TrailData::Length() const
{
    if (IsLine())
        return x_Vector::Distance(start, end);
    if (!IsArc())
        return 0.0;
    double sweep;
    if (direction != 0) {
        const double s = startAngle < endAngle + 1e-10 ? startAngle + kTwoPi : startAngle;
        sweep = s - endAngle;
    } else {
        const double e = endAngle < startAngle + 1e-10 ? endAngle + kTwoPi : endAngle;
        sweep = e - startAngle;
    }
    if (std::fabs(sweep) < 1e-10)
        sweep = kTwoPi;
    return radius * sweep;
}

x_Vector x_TrailData::StartPoint() const
{
    if (IsLine())
        return start;
    if (!IsArc())
        return {0.0, 0.0, 0};
    return centre + x_Vector::FromPolar(radius, startAngle);
}

x_Vector x_TrailData::EndPoint() const
{
    if (IsLine())
        return end;
    if (!IsArc())
        return {0.0, 0.0, 0};
    return centre + x_Vector::FromPolar(radius, endAngle);
}

void x_TrailData::Reverse()
{
    if (IsLine()) {
        std::swap(start, end);
    } else if (IsArc()) {
        std::swap(startAngle, endAngle);
        kind = direction != 0 ? 3 : 2;
        direction = direction != 0 ? 0 : 1;
    } else {
        *this = x_TrailData();
    }
}

void x_TrailData::ToBytes(std::uint8_t out[144]) const
{
    std::memcpy(out, this, 144);
    // The compiler's padding inside the three points holds no value.
    for (const std::size_t at : {offsetof(x_TrailData, start), offsetof(x_TrailData, end),
                                 offsetof(x_TrailData, centre)})
        std::memset(out + at + 17, 0, 7);
    std::memset(out + 2, 0, 2);
    std::memset(out + 12, 0, 4);
    std::memset(out + 81, 0, 7);
    std::memset(out + 138, 0, 2);
}

void x_TrailData::FromBytes(const std::uint8_t in[144])
{
    std::memcpy(static_cast<void*>(this), in, 144);
}

void StoreTrailList(CArchive& ar, const x_TrailDataArray& list)
{
    ar.WriteCount(static_cast<size_t>(list.GetSize()));
    std::uint8_t bytes[144];
    for (int i = 0; i < list.GetSize(); ++i) {
        list.GetAt(i).ToBytes(bytes);
        ar.Write(bytes, 144);
    }
}

void LoadTrailList(CArchive& ar, x_TrailDataArray& list)
{
    const size_t count = ar.ReadCount();
    ar.CheckCount(count, 144);
    list.RemoveAll();
    list.SetSize(static_cast<int>(count));
    std::uint8_t bytes[144];
    for (size_t i = 0; i < count; ++i) {
        ar.ReadExact(bytes, 144);
        list.ElementAt(static_cast<int>(i)).FromBytes(bytes);
    }
}
