#pragma once

#include "platform/gdi/CFont.h"
#include "platform/ui/CStatic.h"

// Static text with its own text colour, background brush and font. A
// dialog binds it to a static control; from then on it paints that control.
class CLabel : public CStatic {
public:
    CLabel();
    ~CLabel() override;

    void SetLabelTextColor(COLORREF color);
    // Background and text both in color: a colour swatch.
    void SetLabelSwatch(COLORREF color);
    // A character height in logical units (12 gives a height of -12).
    void SetLabelFontSize(int size);
    void SetLabelBold();

    HBRUSH CtlColor(CDC* dc, UINT nCtlColor) override;

    COLORREF textColor;
    HBRUSH backgroundBrush = nullptr; // owned
    LOGFONTW fontDescription;
    CFont labelFont;

private:
    void RebuildFont();
    void Redraw();
};
