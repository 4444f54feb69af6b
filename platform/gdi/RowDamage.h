#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// Which pixels of an image may have changed, as one span of columns per
// band of 16 rows: coarse enough that marking a segment costs a step or
// two, fine enough that a frame of a nearly empty drawing (two axes and a
// scale bar) clears and copies a few thousand pixels instead of the whole
// window.
class RowDamage {
public:
    static constexpr int kBandShift = 4;
    static constexpr int kBandRows = 1 << kBandShift;

    // An image of width x height with nothing damaged.
    void Reset(int width, int height)
    {
        m_width = std::max(width, 0);
        m_height = std::max(height, 0);
        const std::size_t bands = static_cast<std::size_t>((m_height + kBandRows - 1) >> kBandShift);
        m_left.assign(bands, m_width);
        m_right.assign(bands, 0);
        m_fullBands = 0;
    }
    void MarkAll() { Mark(0, 0, m_width, m_height); }
    // Every band damaged from edge to edge: marks change nothing.
    bool Full() const { return m_fullBands == m_left.size(); }
    // The columns [left, right) of the rows [top, bottom), cut to the image.
    void Mark(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
    {
        // A large drawing damages every band after its first few thousand
        // segments; each of the rest then costs one test.
        if (Full())
            return;
        left = std::max<std::int64_t>(left, 0);
        top = std::max<std::int64_t>(top, 0);
        right = std::min<std::int64_t>(right, m_width);
        bottom = std::min<std::int64_t>(bottom, m_height);
        if (left >= right || top >= bottom)
            return;
        const int last = static_cast<int>((bottom - 1) >> kBandShift);
        for (int b = static_cast<int>(top >> kBandShift); b <= last; ++b) {
            int& l = m_left[static_cast<std::size_t>(b)];
            int& r = m_right[static_cast<std::size_t>(b)];
            if (l == 0 && r == m_width)
                continue;
            l = std::min(l, static_cast<int>(left));
            r = std::max(r, static_cast<int>(right));
            m_fullBands += l == 0 && r == m_width;
        }
    }
    // Adds the other's damage (of an image of the same size).
    void Merge(const RowDamage& other)
    {
        for (int b = 0; b < Bands() && b < other.Bands(); ++b)
            Mark(other.Left(b), static_cast<std::int64_t>(b) << kBandShift, other.Right(b),
                 (static_cast<std::int64_t>(b) + 1) << kBandShift);
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Bands() const { return static_cast<int>(m_left.size()); }
    // Band b covers rows [Top(b), Bottom(b)) and, when damaged, columns
    // [Left(b), Right(b)); an undamaged band has Left >= Right.
    int Left(int b) const { return m_left[static_cast<std::size_t>(b)]; }
    int Right(int b) const { return m_right[static_cast<std::size_t>(b)]; }
    int Top(int b) const { return b << kBandShift; }
    int Bottom(int b) const { return std::min((b + 1) << kBandShift, m_height); }
    bool Empty() const
    {
        for (int b = 0; b < Bands(); ++b)
            if (Left(b) < Right(b))
                return false;
        return true;
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<int> m_left;
    std::vector<int> m_right;
    std::size_t m_fullBands = 0; // bands damaged from edge to edge
};
