#pragma once

#include "platform/gdi/gdi_types.h"

#include <cstdint>
#include <functional>

class CWnd;

constexpr unsigned CC_RGBINIT = 0x0001;
constexpr unsigned CC_FULLOPEN = 0x0002;
constexpr unsigned CC_ANYCOLOR = 0x0100;

// The system colour chooser.
class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, unsigned flags = 0, CWnd* parent = nullptr);
    virtual ~CColorDialog() = default;

    // IDOK with the chosen colour in GetColor(), or IDCANCEL.
    virtual std::intptr_t DoModal();
    COLORREF GetColor() const { return m_color; }
    void SetCurrentColor(COLORREF color) { m_color = color; }

private:
    COLORREF m_color;
    unsigned m_flags;
    CWnd* m_parent;
};

// Replaces the chooser by a call: it gets the initial colour, and returns
// true with the chosen colour (OK) or false (cancel). Returns the old hook.
using ColorDialogHook = std::function<bool(COLORREF initial, COLORREF& chosen)>;
ColorDialogHook SetColorDialogHook(ColorDialogHook hook);
