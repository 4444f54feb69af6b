#include "geometry/UnitInputPoints.h"

#include "platform/core/block_pool.h"

#include <algorithm>
#include <memory>
#include <type_traits>

namespace {

// Own points come from the units' pool: a drawing whose units were all
// clicked holds as many sets as units.
constexpr std::size_t kOwnBytes = sizeof(x_Vector) * UnitInputPoints::kCount;
static_assert(std::is_trivially_destructible_v<x_Vector>);

x_Vector* CopyToOwn(const x_Vector* points)
{
    auto* own = static_cast<x_Vector*>(PoolAllocate(kOwnBytes));
    std::uninitialized_copy(points, points + UnitInputPoints::kCount, own);
    return own;
}

} // namespace

constinit x_Vector UnitInputPoints::s_unset[2][UnitInputPoints::kCount] = {
    {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
};

UnitInputPoints::UnitInputPoints(const UnitInputPoints& other) : m_points(other.m_points)
{
    if (other.HasOwnStorage())
        m_points = CopyToOwn(other.m_points);
}

UnitInputPoints& UnitInputPoints::operator=(const UnitInputPoints& other)
{
    if (this == &other)
        return *this;
    if (!other.HasOwnStorage()) {
        Release();
        m_points = other.m_points;
        return *this;
    }
    std::copy(other.m_points, other.m_points + kCount, Own());
    return *this;
}

void UnitInputPoints::TakeOwnCopy()
{
    m_points = CopyToOwn(m_points);
}

x_Vector* UnitInputPoints::NewStorage()
{
    return static_cast<x_Vector*>(PoolAllocate(kOwnBytes));
}

void UnitInputPoints::FreeOwn() noexcept
{
    PoolFree(m_points, kOwnBytes);
}
