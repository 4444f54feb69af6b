#pragma once

#include "platform/gdi/gdi_types.h"

#include <memory>
#include <vector>

class QImage;

constexpr unsigned ILC_MASK = 0x0001;
constexpr unsigned ILC_COLOR24 = 0x0018;
constexpr unsigned ILC_COLOR32 = 0x0020;

// Images of one size for list controls and pictures. Icons come from the
// icon table by resource id (RegisterIconImage); an id nobody registered
// gives a plain framed square, so lists stay usable.
class CImageList {
public:
    CImageList();
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    bool Create(int cx, int cy, unsigned flags, int initial, int grow);
    bool DeleteImageList();
    int GetImageCount() const;
    int AddIcon(unsigned resourceId);
    int Add(HBITMAP bitmap, COLORREF maskColor = CLR_INVALID);
    // Platform side: the image scaled to the list's size (null when absent).
    QImage ImageAt(int index) const;
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    int m_cx = 0;
    int m_cy = 0;
    std::vector<std::shared_ptr<QImage>> m_images;
};

// The picture of an icon resource: 32-bit pixels, 0xAARRGGBB, row by row.
void RegisterIconImage(unsigned resourceId, int width, int height, const std::uint32_t* argb);
// An icon resource taken from the desktop's icon theme by its name (the
// breeze theme when the desktop names none), drawn at the list's size.
void RegisterThemeIcon(unsigned resourceId, const char* themeName);
// An icon resource drawn from SVG text (kept by the caller for the life of
// the process), rendered at the list's size.
void RegisterSvgIcon(unsigned resourceId, const char* svgText);
