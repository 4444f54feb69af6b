#pragma once

#include "platform/ui/CControlBase.h"

// Push, default, check, radio, group-box and owner-drawn buttons.
class CButton : public CControlBase {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(const CString& caption, DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    int GetCheck() const;
    void SetCheck(int check);
    // The pushed look (BST_PUSHED in GetState).
    UINT GetState() const;
    void SetState(BOOL pushed);
    UINT GetButtonStyle() const { return GetStyle() & 0xFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    // Presses the button as a click would (BM_CLICK).
    void Click();

    // Owner-drawn buttons paint here.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    // The click reaches the button before its parent; TRUE keeps it from
    // the parent.
    virtual BOOL OnReflectedClick() { return FALSE; }
    // Button messages and the few window messages buttons act on.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void OnEnable(BOOL) {}
    virtual void OnMouseLeave() {}
    virtual void OnCancelMode() {}
    virtual void OnActivate(UINT, CWnd*, BOOL) {}
    virtual UINT OnGetDlgCode();
};

constexpr UINT BST_PUSHED = 0x4;
constexpr UINT BST_FOCUS = 0x8;
