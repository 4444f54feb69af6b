#include "geometry/UnitInputPoints.h"

#include <algorithm>

namespace {

// Never written: Own() copies them before it hands out a writable point.
x_Vector g_unsetPoints[2][UnitInputPoints::kCount] = {
    {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
};

} // namespace

x_Vector* UnitInputPoints::Unset(std::uint8_t valid)
{
    return g_unsetPoints[valid != 0 ? 1 : 0];
}

UnitInputPoints::UnitInputPoints(const UnitInputPoints& other) : m_points(other.m_points)
{
    if (other.HasOwnStorage()) {
        m_points = new x_Vector[kCount];
        std::copy(other.m_points, other.m_points + kCount, m_points);
    }
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

void UnitInputPoints::Clear(std::uint8_t valid)
{
    Release();
    m_points = Unset(valid);
}

x_Vector* UnitInputPoints::Own()
{
    if (!HasOwnStorage()) {
        x_Vector* own = new x_Vector[kCount];
        std::copy(m_points, m_points + kCount, own);
        m_points = own;
    }
    return m_points;
}

void UnitInputPoints::Release() noexcept
{
    if (HasOwnStorage())
        delete[] m_points;
    m_points = Unset(0);
}
