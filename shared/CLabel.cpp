#include "shared/CLabel.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"

CLabel::CLabel() : textColor(GetSysColor(COLOR_WINDOWTEXT))
{
    backgroundBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(fontDescription), &fontDescription);
    labelFont.CreateFontIndirect(&fontDescription);
}

CLabel::~CLabel()
{
    labelFont.DeleteObject();
    if (backgroundBrush != nullptr)
        DeleteObject(backgroundBrush);
}

HBRUSH CLabel::CtlColor(CDC* dc, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC) {
        dc->SelectObject(&labelFont);
        dc->SetTextColor(textColor);
        dc->SetBkMode(TRANSPARENT);
    }
    return backgroundBrush;
}

void CLabel::SetLabelTextColor(COLORREF color)
{
    textColor = color;
    Redraw();
}

void CLabel::SetLabelSwatch(COLORREF color)
{
    if (backgroundBrush != nullptr)
        DeleteObject(backgroundBrush);
    backgroundBrush = CreateSolidBrush(color);
    textColor = color;
    Redraw();
}

void CLabel::SetLabelFontSize(int size)
{
    fontDescription.lfHeight = -size;
    RebuildFont();
    Redraw();
}

void CLabel::SetLabelBold()
{
    fontDescription.lfWeight = FW_BOLD;
    RebuildFont();
    Redraw();
}

void CLabel::RebuildFont()
{
    labelFont.DeleteObject();
    labelFont.CreateFontIndirect(&fontDescription);
}

// Invalidate, erase and update now.
void CLabel::Redraw()
{
    if (GetSafeHwnd() != nullptr)
        RedrawWindow();
}
