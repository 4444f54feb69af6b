#include "app/CCeButtonST.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell_open.h"

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverMs = 50;
constexpr unsigned kOwnerDraw = 0xB;

} // namespace

CCeButtonST::CCeButtonST()
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    m_colours[0] = face;
    m_colours[1] = text;
    m_colours[2] = face;
    m_colours[3] = text;
    m_colours[4] = face;
    m_colours[5] = text;
}

CCeButtonST::~CCeButtonST()
{
    for (IconSlot& slot : m_iconSlots) {
        if (slot.icon != nullptr)
            DeleteObject(slot.icon);
        slot = IconSlot{};
    }
    StopHoverTimer();
    // The saved cursor goes back only while the button still shows its own
    // cursor under the mouse; restoring it unconditionally used to replace
    // whatever cursor another window had set since.
    if (m_priorCursor != nullptr) {
        POINT p;
        CRect window;
        bool underMouse = false;
        if (m_hover && GetSafeHwnd() != nullptr && ::GetCursorPos(&p)) {
            GetWindowRect(&window);
            underMouse = window.PtInRect(p);
        }
        if (underMouse && ::GetCursor() == m_hoverCursor)
            ::SetCursor(m_priorCursor);
        m_priorCursor = nullptr;
    }
    m_hoverCursor = nullptr;
    delete m_popupMenu;
    m_popupMenu = nullptr;
}

void CCeButtonST::SetCheck(int value)
{
    if (!m_checkMode)
        return;
    m_checkState = value != 0 ? 1 : 0;
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void CCeButtonST::SetIcon(int slot, HBITMAP icon, int width, int height)
{
    if (slot < 0 || slot > 2)
        return;
    if (m_iconSlots[slot].icon != nullptr)
        DeleteObject(m_iconSlots[slot].icon);
    m_iconSlots[slot] = IconSlot{icon, width, height};
}

void CCeButtonST::SetMenu(HMENU menu, HWND target)
{
    delete m_popupMenu;
    m_popupMenu = menu;
    m_menuTarget = target;
}

void CCeButtonST::SetLink(const CString& url)
{
    const int n = std::min(url.GetLength(), 259);
    std::copy(url.GetString(), url.GetString() + n, m_linkText);
    m_linkText[n] = 0;
}

void CCeButtonST::SetHoverCursor(HCURSOR cursor)
{
    m_hoverCursor = cursor;
}

void CCeButtonST::PreSubclassWindow()
{
    const DWORD style = GetStyle();
    m_typeBits = int(style & 0x1F);
    if ((style & 0x2) != 0)
        m_checkMode = 1;
    if (m_typeBits == 1) {
        m_defaultButton = 1;
        m_typeBits = 0;
    }
    ModifyStyle(0x1F, kOwnerDraw, SWP_NOSIZE | SWP_NOMOVE);
    CButton::PreSubclassWindow();
}

LRESULT CCeButtonST::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BM_SETSTYLE) {
        const UINT type = UINT(wParam & 0x1F);
        if (type == 1)
            m_defaultButton = 1;
        else if (type == 0)
            m_defaultButton = 0;
        // The button stays owner-drawn whatever style it is given.
        return CButton::WindowProc(message, (wParam & ~WPARAM(0x1F)) | kOwnerDraw, lParam);
    }
    return CButton::WindowProc(message, wParam, lParam);
}

UINT CCeButtonST::OnGetDlgCode()
{
    const UINT code = CButton::OnGetDlgCode() & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return code | (m_defaultButton ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CCeButtonST::CtlColor(CDC*, UINT)
{
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CCeButtonST::OnLButtonDown(UINT flags, CPoint point)
{
    SetState(TRUE);
    CButton::OnLButtonDown(flags, point);
}

BOOL CCeButtonST::OnReflectedClick()
{
    if (m_checkMode) {
        m_checkState = !m_checkState;
        Invalidate();
    } else if (m_popupMenu != nullptr) {
        CMenu* sub = m_popupMenu->GetSubMenu(0);
        m_menuOpen = 1;
        Invalidate();
        CRect window;
        GetWindowRect(&window);
        if (sub != nullptr)
            TrackPopupMenu(sub, TPM_LEFTALIGN | TPM_TOPALIGN, window.left, window.bottom, CWnd::FromHandle(m_menuTarget));
        m_menuOpen = 0;
        Invalidate();
    } else if (m_linkText[0] != 0) {
        ShellOpen(CString(m_linkText), SW_SHOWMAXIMIZED);
    }
    return FALSE; // the parent handles the click as well
}

// ---- hover tracking (flat look only) ----

void CCeButtonST::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);
    if (((flags & MK_LBUTTON) != 0 && !m_hover) || !m_flatLook)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point) && !m_hover) {
        m_hover = 1;
        Invalidate();
        m_hoverTimerId = SetTimer(kHoverTimer, kHoverMs);
    }
}

void CCeButtonST::OnTimer(UINT_PTR id)
{
    if (id == kHoverTimer && m_hoverTimerId != 0)
        HoverTimerProc();
    else
        CButton::OnTimer(id);
}

void CCeButtonST::HoverTimerProc()
{
    POINT p;
    if (!::GetCursorPos(&p))
        return;
    ScreenToClient(&p);
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(p))
        PostMessage(WM_MOUSELEAVE);
}

void CCeButtonST::StopHoverTimer()
{
    if (m_hoverTimerId != 0) {
        if (GetSafeHwnd() != nullptr)
            KillTimer(m_hoverTimerId);
        m_hoverTimerId = 0;
    }
}

void CCeButtonST::EndHover()
{
    if (!m_flatLook)
        return;
    StopHoverTimer();
    if (m_hover) {
        if (m_priorCursor != nullptr) {
            ::SetCursor(m_priorCursor);
            m_priorCursor = nullptr;
        }
        m_hover = 0;
        if (GetSafeHwnd() != nullptr)
            Invalidate();
    }
}

BOOL CCeButtonST::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_hoverCursor == nullptr)
        return CButton::OnSetCursor(wnd, hitTest, message);
    const HCURSOR previous = ::SetCursor(m_hoverCursor);
    if (m_priorCursor == nullptr)
        m_priorCursor = previous;
    return TRUE;
}

void CCeButtonST::OnMouseLeave()
{
    EndHover();
}

void CCeButtonST::OnKillFocus(CWnd* newWnd)
{
    CButton::OnKillFocus(newWnd);
    EndHover();
}

void CCeButtonST::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CButton::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE)
        EndHover();
}

void CCeButtonST::OnCancelMode()
{
    CButton::OnCancelMode();
    EndHover();
}

void CCeButtonST::OnEnable(BOOL enable)
{
    CButton::OnEnable(enable);
    if (!enable) {
        CWnd* parent = GetParent();
        if (auto* dialog = dynamic_cast<CDialog*>(parent)) {
            CWnd* next = dialog->GetNextDlgTabItem(this);
            if (next != nullptr && next != this)
                next->SetFocus();
            else
                dialog->SetFocus();
        } else if (parent != nullptr) {
            parent->SetFocus();
        }
        EndHover();
    }
}

void CCeButtonST::OnDestroy()
{
    StopHoverTimer();
    CButton::OnDestroy();
}

// ---- drawing ----

void CCeButtonST::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = item->hDC;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    if (m_checkMode)
        m_drawPressed = selected || m_checkState ? 1 : 0;
    else
        m_drawPressed = selected || (m_popupMenu != nullptr && m_menuOpen) ? 1 : 0;
    m_drawFocused = (item->itemState & ODS_FOCUS) != 0 ? 1 : 0;
    m_drawDisabled = (item->itemState & ODS_DISABLED) != 0 ? 1 : 0;

    CRect work(item->rcItem);
    dc->SetBkMode(TRANSPARENT);
    if (!m_flatLook && (m_drawFocused || m_defaultButton)) {
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(&work, &black);
        work.DeflateRect(1, 1);
    }
    PaintFace(dc, &work);
    if (!m_flatLook || m_forceBorder)
        PaintEdge(dc, &work);

    CRect caption(item->rcItem);
    CString text;
    GetWindowText(text);
    if (text.GetLength() > 255)
        text = text.Left(255);
    if (m_iconSlots[0].icon != nullptr)
        DrawIcon(dc, CRect(item->rcItem), &caption, text.IsEmpty() ? 0 : 1);
    if (!text.IsEmpty()) {
        if (m_drawPressed && !m_checkMode)
            caption.OffsetRect(1, 1);
        const CRect centre(caption);
        dc->DrawText(text.GetString(), text.GetLength(), &caption, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
        caption.OffsetRect((centre.Width() - caption.Width()) / 2, (centre.Height() - caption.Height()) / 2);
        dc->SetBkMode(TRANSPARENT);
        if (m_drawDisabled) {
            caption.OffsetRect(1, 1);
            dc->SetTextColor(GetSysColor(COLOR_3DHILIGHT));
            dc->DrawText(text.GetString(), -1, &caption, DT_WORDBREAK | DT_CENTER);
            caption.OffsetRect(-1, -1);
            dc->SetTextColor(GetSysColor(COLOR_3DSHADOW));
            dc->DrawText(text.GetString(), -1, &caption, DT_WORDBREAK | DT_CENTER);
        } else {
            const bool lit = m_hover || m_drawPressed;
            dc->SetTextColor(lit ? m_colours[1] : m_colours[3]);
            dc->SetBkColor(lit ? m_colours[0] : m_colours[2]);
            dc->DrawText(text.GetString(), -1, &caption, DT_WORDBREAK | DT_CENTER);
        }
    }
    if (m_drawFocused && (!m_flatLook || m_flatFocusRect)) {
        CRect focus(work);
        focus.DeflateRect(3, 3);
        dc->DrawFocusRect(&focus);
    }
}

void CCeButtonST::PaintFace(CDC* dc, CRect* rect)
{
    COLORREF face = m_colours[2];
    if (m_hover || m_drawPressed)
        face = m_colours[0];
    else if (m_drawFocused)
        face = m_colours[4];
    dc->FillSolidRect(rect, face);
}

void CCeButtonST::PaintEdge(CDC* dc, CRect* rect)
{
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_BTNHILIGHT);
    if (m_drawPressed) {
        dc->Draw3dRect(rect, shadow, light);
        return;
    }
    if (m_flatLook && !m_hover)
        return;
    dc->Draw3dRect(rect, light, shadow);
}

void CCeButtonST::DrawIcon(CDC* dc, const CRect& item, CRect* caption, int hasCaption)
{
    int slot = 0;
    if (m_drawDisabled) {
        slot = m_iconSlots[2].icon != nullptr ? 2 : 0;
    } else {
        const bool lit = m_checkMode ? m_drawPressed != 0 : (m_drawPressed || m_hover);
        slot = !lit && m_iconSlots[1].icon != nullptr ? 1 : 0;
    }
    const IconSlot& icon = m_iconSlots[slot];
    const int w = icon.width;
    const int h = icon.height;
    CPoint at((item.Width() - w) / 2, (item.Height() - h) / 2);
    switch (m_iconPlace) {
    case 1:
        if (hasCaption) {
            at.y = 3;
            caption->top += h;
        }
        break;
    case 2:
        if (hasCaption) {
            at.x = item.Width() - w - 3;
            caption->left = 3;
            caption->right -= w + 3;
        }
        break;
    default:
        if (hasCaption) {
            at.x = 3;
            caption->left += w + 3;
        }
        break;
    }
    if (m_drawPressed && !m_checkMode)
        at.Offset(1, 1);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(CBitmap::FromHandle(icon.icon));
    dc->BitBlt(item.left + at.x, item.top + at.y, w, h, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}
