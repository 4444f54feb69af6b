#pragma once

#include "platform/ui/CWnd.h"

class CFrameWnd;

// Bar styles: the side a bar sits on, and the behaviour flags the
// framework's bars accept (tooltips and fly-by texts are always on here).
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_NOALIGN = 0;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0040;
constexpr DWORD CBRS_SIZE_FIXED = 0x0080;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_FLOATING = 0x0001;

// A bar of a frame (toolbar, status bar, dialog bar). Commands and
// notifications of its controls go on to its owner, the frame.
class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    DWORD GetBarStyle() const { return m_dwBarStyle; }
    void SetBarStyle(DWORD style) { m_dwBarStyle = style; }
    void EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    BOOL IsVisible() const { return IsWindowVisible(); }

    // Runs the update handlers of the bar's items through target.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    CFrameWnd* m_pDockSite = nullptr;

protected:
    // Places the bar's widget on the frame (or leaves it a plain child).
    void AttachToParent(CWnd* parent);
    DWORD m_dwBarStyle = 0;
    DWORD m_dwDockStyle = 0;
};
