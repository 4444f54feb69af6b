#pragma once

#include <string>

#include "platform/gdi/CDC.h"

// A memory device context over a zeroed 32-bit bitmap.
class MemoryDC {
public:
    MemoryDC(int width, int height) : m_width(width), m_height(height)
    {
        m_dc.CreateCompatibleDC(nullptr);
        m_bitmap.CreateCompatibleBitmap(&m_dc, width, height);
        m_old = m_dc.SelectObject(&m_bitmap);
    }
    ~MemoryDC() { m_dc.SelectObject(m_old); }
    CDC* operator->() { return &m_dc; }
    CDC* get() { return &m_dc; }
    // Every pixel's colour, row by row.
    std::basic_string<COLORREF> Pixels()
    {
        std::basic_string<COLORREF> all;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                all.push_back(m_dc.GetPixel(x, y));
        return all;
    }
    // Row y: '#' where the pixel is not black.
    std::string Row(int y)
    {
        std::string s;
        for (int x = 0; x < m_width; ++x)
            s += m_dc.GetPixel(x, y) != 0 ? '#' : '.';
        return s;
    }

private:
    int m_width, m_height;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};
