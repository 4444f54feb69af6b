#pragma once

#include <cstdint>

#include "geometry/x_Vector.h"

// The four points clicked while a unit was created, indexed like an array
// of four. Units that never had a click (imported, generated, derived
// pieces: nearly all of a large drawing) share one of two constant sets,
// all (0, 0) with valid 0 or 1, and pay one pointer; the first write access
// gives a unit its own four.
class UnitInputPoints {
public:
    static constexpr int kCount = 4;

    UnitInputPoints() noexcept : m_points(Unset(0)) {}
    UnitInputPoints(const UnitInputPoints& other);
    UnitInputPoints& operator=(const UnitInputPoints& other);
    ~UnitInputPoints() { Release(); }

    // index in 0..3, as for a plain array.
    x_Vector& operator[](int index) { return Own()[index]; }
    const x_Vector& operator[](int index) const { return m_points[index]; }
    x_Vector* begin() { return Own(); }
    x_Vector* end() { return Own() + kCount; }
    const x_Vector* begin() const { return m_points; }
    const x_Vector* end() const { return m_points + kCount; }

    // All four (0, 0) with the given valid, without storage of their own.
    void Clear(std::uint8_t valid);
    bool HasOwnStorage() const { return m_points != Unset(0) && m_points != Unset(1); }

private:
    static x_Vector* Unset(std::uint8_t valid);
    x_Vector* Own();
    void Release() noexcept;

    x_Vector* m_points;
};
