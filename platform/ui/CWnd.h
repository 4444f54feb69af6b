#pragma once

#include "platform/core/CString.h"
#include "platform/gdi/CPoint.h"
#include "platform/gdi/CRect.h"
#include "platform/ui/CCmdTarget.h"
#include "platform/ui/cursors.h"
#include "platform/ui/wintypes.h"

#include <memory>

class CDC;
class CFont;
class CMenu;
class CFrontImage;
struct WndLife;

// A window: wraps one widget. The widget's object name is the control id as
// text, so tests and snapshots find controls by id. Input, paint, size,
// focus and close events reach the virtual handlers below; timers and posted
// messages never reach a window that was destroyed.
class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // The window object of a widget (or of its nearest ancestor that has one).
    static CWnd* FromHandle(HWND hwnd);
    // The window object attached to exactly this widget, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // A plain child (WS_CHILD) or top-level window; rect in the parent's
    // client coordinates. Runs PreCreateWindow and OnCreate.
    virtual BOOL Create(LPCTSTR className, const CString& windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT nID, void* createParams = nullptr);
    // Makes this object the window of an existing widget (controls, dialogs).
    BOOL AttachWidget(HWND widget, UINT nID);
    // Takes over the window of parent's control nID (it must exist).
    BOOL SubclassDlgItem(UINT nID, CWnd* parent);
    HWND Detach();
    virtual BOOL DestroyWindow();

    UINT GetDlgCtrlID() const { return m_nID; }
    void SetDlgCtrlID(UINT nID);
    CWnd* GetDlgItem(int nID) const;
    void SetDlgItemText(int nID, const CString& text);
    int GetDlgItemText(int nID, CString& text) const;
    void SetDlgItemInt(int nID, UINT value, BOOL isSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;

    // Caption of a top-level window, text of a control.
    virtual void SetWindowText(const CString& text);
    void GetWindowText(CString& text) const;
    int GetWindowText(char16_t* buffer, int maxCount) const;
    int GetWindowTextLength() const;

    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { m_pOwner = owner; }
    CWnd* GetTopLevelParent() const;
    DWORD GetStyle() const { return m_style; }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    DWORD GetExStyle() const { return m_exStyle; }
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const; // screen coordinates
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    // The smallest client size the window takes: the window manager keeps
    // the user's resizing to it, and a smaller MoveWindow stops at it.
    void SetMinimumClientSize(int width, int height);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void BringWindowToTop();
    void CenterWindow(CWnd* alternateOwner = nullptr);
    // Places the child bars with ids first..last along the sides of the
    // client area (status bars at the bottom, others at the top).
    void RepositionBars(UINT first, UINT last, UINT idLeftOver);
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // Any thread: repaints later from the front image (and OnPaint).
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    // GUI thread: repaints now.
    void UpdateWindow();
    void RedrawWindow() { Invalidate(); UpdateWindow(); }

    // Per-window timers; WM_TIMER reaches OnTimer. Callable from any thread
    // (other threads hand the call to the GUI thread). Returns id, 0 on failure.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* callback = nullptr);
    BOOL KillTimer(UINT_PTR id);

    // Any thread: queues the message; it is dropped if the window is gone
    // by the time it would arrive.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // GUI thread: runs WindowProc now.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends WM_COMMAND (code, this control's id) to the owner or parent.
    void NotifyParent(UINT code);

    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const { return m_pFont; }

    virtual CMenu* GetMenu() const { return nullptr; }
    // A menu of its own that is never shown on this platform.
    CMenu* GetSystemMenu(BOOL revert);

    // Device context over the window's front image (see CClientDC).
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // The image that client and paint DCs draw into; created on first use
    // on the GUI thread at the client size (other threads get null until
    // then). Shared so a worker's DC keeps it alive.
    std::shared_ptr<CFrontImage> GetFrontImage();
    bool HasFrontImage() const;

    // Message dispatch.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    LRESULT Default() { return 0; }

    // True while the window exists; shared with queued timers and messages.
    bool IsAlive() const;
    std::shared_ptr<WndLife> GetLife() const;

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy() {}
    // Makes the widget for Create; the default is a plain painted widget.
    virtual HWND CreateWidget(const CREATESTRUCT& cs, CWnd* parent);

public:
    // Handlers; the defaults do nothing unless said.
    virtual int OnCreate(LPCREATESTRUCT cs);
    virtual void OnDestroy() {}
    virtual void OnClose();                 // default: DestroyWindow
    virtual void OnTimer(UINT_PTR) {}
    virtual void OnSize(UINT, int, int) {}
    virtual void OnPaint();                  // default: nothing (front image shown)
    virtual BOOL OnEraseBkgnd(CDC*) { return FALSE; } // never sent: the front image is the background
    virtual void OnShowWindow(BOOL, UINT) {}
    virtual void OnSetFocus(CWnd*) {}
    virtual void OnKillFocus(CWnd*) {}
    virtual void OnLButtonDown(UINT, CPoint) {}
    virtual void OnLButtonUp(UINT, CPoint) {}
    virtual void OnLButtonDblClk(UINT, CPoint) {}
    virtual void OnRButtonDown(UINT, CPoint) {}
    virtual void OnRButtonUp(UINT, CPoint) {}
    virtual void OnRButtonDblClk(UINT, CPoint) {}
    virtual void OnMButtonDown(UINT, CPoint) {}
    virtual void OnMButtonUp(UINT, CPoint) {}
    virtual void OnMouseMove(UINT, CPoint) {}
    // pt in screen coordinates; delta 120 per notch, positive away from the user.
    virtual BOOL OnMouseWheel(UINT, short, CPoint) { return FALSE; }
    virtual void OnKeyDown(UINT, UINT, UINT) {}
    virtual void OnKeyUp(UINT, UINT, UINT) {}
    virtual void OnChar(UINT, UINT, UINT) {}
    virtual void OnSysCommand(UINT, LPARAM) {}
    // False: the window's own cursor (arrow unless set) is used.
    virtual BOOL OnSetCursor(CWnd*, UINT, UINT) { return FALSE; }

    // Internal: called by the platform's event routing.
    void HandleWidgetDestroyed();
    void ResizeFrontImage();
    void PaintFrontImage(void* qpainter);

protected:
    UINT m_nID = 0;
    DWORD m_style = 0;
    DWORD m_exStyle = 0;
    CWnd* m_pOwner = nullptr;
    CFont* m_pFont = nullptr;
    CString m_text; // text of a window whose widget shows none
    std::unique_ptr<CMenu> m_systemMenu;

private:
    void MarkDestroyed();
    std::shared_ptr<WndLife> m_life;
    struct FrontHolder;
    std::unique_ptr<FrontHolder> m_front;
    void* m_bridge = nullptr; // the QObject watching the widget
};

// Liveness token: wnd is null once the window is destroyed. Read and cleared
// on the GUI thread only; other threads merely carry it.
struct WndLife {
    CWnd* wnd = nullptr;
};

// State of a key: high bit set while down, low bit the toggle (Caps Lock...).
short GetKeyState(int virtKey);
short GetAsyncKeyState(int virtKey);

BOOL IsWindow(HWND hwnd);
