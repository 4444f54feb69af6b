#pragma once

#include "platform/gdi/CRect.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/cursors.h"

#include <cstdint>

// Owner-drawn push or check button of the tool palettes: face and text
// colours per state, raised or sunken border, optional flat look with
// hover tracking, embossed caption when disabled, focus rectangle.
class CCeButtonST : public CButton {
public:
    struct IconSlot {
        HBITMAP icon = nullptr; // owned
        std::int32_t width = 0;
        std::int32_t height = 0;
    };

    CCeButtonST();
    ~CCeButtonST() override;

    // Check-box buttons only; a repaint follows.
    void SetCheck(int value);
    int GetCheck() const { return m_checkState; }

    // Slot 0 normal, 1 when neither pressed nor hovered, 2 disabled; the
    // button takes the bitmap over.
    void SetIcon(int slot, HBITMAP icon, int width, int height);
    void SetMenu(HMENU menu, HWND target);
    void SetLink(const CString& url);
    void SetHoverCursor(HCURSOR cursor);

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    virtual void PaintEdge(CDC* dc, CRect* rect);
    virtual void PaintFace(CDC* dc, CRect* rect);

    BOOL OnReflectedClick() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnTimer(UINT_PTR id) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnDestroy() override;
    void OnEnable(BOOL enable) override;
    void OnMouseLeave() override;
    void OnCancelMode() override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    UINT OnGetDlgCode() override;
    HBRUSH CtlColor(CDC* dc, UINT nCtlColor) override;

    void HoverTimerProc();
    void EndHover();

    int m_flatLook = 1;
    int m_hover = 0;
    int m_drawPressed = 0;
    int m_drawFocused = 0;
    int m_drawDisabled = 0;
    int m_defaultButton = 0;
    int m_checkMode = 0;
    BYTE m_iconPlace = 0;
    int m_forceBorder = 1;
    int m_flatFocusRect = 0;
    COLORREF m_colours[6];
    HMENU m_popupMenu = nullptr; // owned
    HWND m_menuTarget = nullptr;
    int m_menuOpen = 0;
    IconSlot m_iconSlots[3];
    HCURSOR m_hoverCursor = nullptr;
    HCURSOR m_priorCursor = nullptr;
    int m_trackInactive = 1;
    int m_checkState = 0;
    int m_typeBits = 31;
    UINT_PTR m_hoverTimerId = 0;
    char16_t m_linkText[260] = {};

private:
    void DrawIcon(CDC* dc, const CRect& item, CRect* caption, int hasCaption);
    void DrawCaption(CDC* dc, const CRect& item);
    void StopHoverTimer();
};
