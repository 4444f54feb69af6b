#pragma once

#include <cstdint>
#include <new>

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
    void Clear(std::uint8_t valid)
    {
        Release();
        m_points = Unset(valid);
    }
    bool HasOwnStorage() const { return m_points != Unset(0) && m_points != Unset(1); }
    // All four at once, point(i) for index i, into storage of their own.
    template <class PointAt>
    void AssignEach(PointAt&& point)
    {
        x_Vector* own = HasOwnStorage() ? m_points : NewStorage();
        for (int i = 0; i < kCount; ++i)
            ::new (static_cast<void*>(own + i)) x_Vector(point(i));
        m_points = own;
    }

private:
    // Inline: every unit read from a file passes here several times.
    static x_Vector* Unset(std::uint8_t valid) { return s_unset[valid != 0 ? 1 : 0]; }
    x_Vector* Own()
    {
        if (!HasOwnStorage())
            TakeOwnCopy();
        return m_points;
    }
    void TakeOwnCopy();
    // Storage for four points, not yet written.
    static x_Vector* NewStorage();
    void Release() noexcept
    {
        if (HasOwnStorage())
            FreeOwn();
        m_points = Unset(0);
    }
    void FreeOwn() noexcept;

    // Never written: Own() copies them before it hands out a writable point.
    static x_Vector s_unset[2][kCount];

    x_Vector* m_points;
};
