#include "geometry/UnitGeometry.h"

#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

namespace {

// Calls fn with the pointer to the union member of family; none calls
// nothing. The one place that lists the families.
template <class Fn>
void VisitFamily(UnitFamily family, Fn&& fn)
{
    switch (family) {
    case UnitFamily::none: break;
    case UnitFamily::line: fn(&UnitGeometry::line); break;
    case UnitFamily::ellipse: fn(&UnitGeometry::ellipse); break;
    case UnitFamily::circle: fn(&UnitGeometry::circle); break;
    case UnitFamily::arc: fn(&UnitGeometry::arc); break;
    case UnitFamily::rectangle: fn(&UnitGeometry::rectangle); break;
    case UnitFamily::polygon: fn(&UnitGeometry::polygon); break;
    case UnitFamily::constructionLine: fn(&UnitGeometry::constructionLine); break;
    case UnitFamily::spline: fn(&UnitGeometry::spline); break;
    case UnitFamily::text: fn(&UnitGeometry::text); break;
    case UnitFamily::dimension: fn(&UnitGeometry::dimension); break;
    case UnitFamily::dimArc: fn(&UnitGeometry::dimArc); break;
    case UnitFamily::dimAngle: fn(&UnitGeometry::dimAngle); break;
    }
}

template <class R>
using RecordOf = std::remove_reference_t<decltype(std::declval<UnitGeometry&>().*std::declval<R>())>;

// Records without owning members are copied as the raw bytes of the union.
bool CopiesAsBytes(UnitFamily family)
{
    bool plain = true;
    VisitFamily(family, [&](auto member) {
        using R = RecordOf<decltype(member)>;
        static_assert(sizeof(R) <= kRecordCapacity, "record larger than a unit's record space");
        plain = std::is_trivially_copyable_v<R>;
    });
    return plain;
}

// The default record of every family that copies as bytes, made once: a
// unit read from a file starts two records of its family, and a copy of
// the bytes is cheaper than zeroing and constructing them. Until the table
// is made (static initialisation), no family is marked plain and records
// are constructed as before.
struct DefaultRecords {
    static constexpr std::size_t kFamilies = static_cast<std::size_t>(UnitFamily::dimAngle) + 1;
    unsigned char bytes[kFamilies][kRecordCapacity];
    bool plain[kFamilies];

    DefaultRecords()
    {
        for (std::size_t f = 0; f < kFamilies; ++f) {
            const auto family = static_cast<UnitFamily>(f);
            UnitGeometry record;
            if (CopiesAsBytes(family))
                record.Reset(family);
            std::memcpy(bytes[f], static_cast<const void*>(record.m_bytes), kRecordCapacity);
            plain[f] = CopiesAsBytes(family);
        }
    }
};
static_assert(std::is_trivially_destructible_v<DefaultRecords>);

const DefaultRecords kDefaultRecords;

} // namespace

UnitGeometry::UnitGeometry() noexcept
{
    std::memset(m_bytes, 0, sizeof m_bytes);
}

// A fresh record has nothing to destroy; the bytes past the record are
// zero as in the default constructor.
UnitGeometry::UnitGeometry(UnitFamily family)
{
    const auto f = static_cast<std::size_t>(family);
    if (f < DefaultRecords::kFamilies && kDefaultRecords.plain[f]) {
        std::memcpy(static_cast<void*>(m_bytes), kDefaultRecords.bytes[f], sizeof m_bytes);
        m_family = family;
        return;
    }
    std::memset(m_bytes, 0, sizeof m_bytes);
    ConstructRecord(family);
}

UnitGeometry::UnitGeometry(const UnitGeometry& other) : UnitGeometry()
{
    CopyRecordFrom(other);
}

UnitGeometry& UnitGeometry::operator=(const UnitGeometry& other)
{
    if (this == &other)
        return *this;
    if (m_family == other.m_family && !CopiesAsBytes(m_family)) {
        VisitFamily(m_family, [&](auto member) { this->*member = other.*member; });
        return *this;
    }
    DestroyRecord();
    CopyRecordFrom(other);
    return *this;
}

UnitGeometry::~UnitGeometry()
{
    DestroyRecord();
}

void UnitGeometry::Reset(UnitFamily family)
{
    DestroyRecord();
    std::memset(m_bytes, 0, sizeof m_bytes);
    ConstructRecord(family);
}

// Expects a destroyed, zeroed record.
void UnitGeometry::ConstructRecord(UnitFamily family)
{
    VisitFamily(family, [&](auto member) {
        using R = RecordOf<decltype(member)>;
        ::new (static_cast<void*>(std::addressof(this->*member))) R();
    });
    m_family = family;
}

void UnitGeometry::DestroyRecord() noexcept
{
    VisitFamily(m_family, [&](auto member) {
        using R = RecordOf<decltype(member)>;
        (this->*member).~R();
    });
    m_family = UnitFamily::none;
}

// Expects a destroyed record (family none).
void UnitGeometry::CopyRecordFrom(const UnitGeometry& other)
{
    if (CopiesAsBytes(other.m_family)) {
        std::memcpy(static_cast<void*>(m_bytes), static_cast<const void*>(other.m_bytes), sizeof m_bytes);
    } else {
        VisitFamily(other.m_family, [&](auto member) {
            using R = RecordOf<decltype(member)>;
            ::new (static_cast<void*>(std::addressof(this->*member))) R(other.*member);
        });
    }
    m_family = other.m_family;
}

x_LineData MakeLineRecord(double x1, double y1, double x2, double y2)
{
    x_LineData line;
    line.p1 = x_Vector(x1, y1);
    line.p2 = x_Vector(x2, y2);
    line.used = 1;
    return line;
}

ArcRecord MakeArcRecord(const x_Vector& centre, double radius, double startAngle, double endAngle)
{
    ArcRecord arc;
    arc.centre = centre;
    arc.radius = radius;
    arc.startAngle = startAngle;
    arc.endAngle = endAngle;
    arc.direction = 0;
    return arc;
}
