#include "platform/ui/CButton.h"

#include "platform/ui/control_widgets.h"

#include <QEvent>

IMPLEMENT_DYNAMIC(CButton, CControlBase)

namespace {

ctl::ButtonWidget* Widget(const CWnd* wnd)
{
    return dynamic_cast<ctl::ButtonWidget*>(wnd->GetSafeHwnd());
}

// Turns the widget events that have no window handler of their own into
// the button's messages.
class ButtonEvents : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = static_cast<QWidget*>(watched);
        auto* button = dynamic_cast<CButton*>(CWnd::FromHandlePermanent(widget));
        if (button == nullptr)
            return false;
        switch (event->type()) {
        case QEvent::EnabledChange:
            button->SendMessage(WM_ENABLE, widget->isEnabled() ? TRUE : FALSE);
            break;
        case QEvent::Leave:
            button->PostMessage(WM_MOUSELEAVE);
            break;
        case QEvent::WindowDeactivate:
            button->SendMessage(WM_ACTIVATE, WA_INACTIVE);
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void ctl::WatchButtonEvents(QWidget* widget)
{
    static ButtonEvents* filter = new ButtonEvents;
    widget->installEventFilter(filter);
}

BOOL CButton::Create(const CString& caption, DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateControl(CtlKind::Button, caption, style, rect, parent, nID);
}

int CButton::GetCheck() const
{
    ctl::ButtonWidget* w = Widget(this);
    if (w == nullptr || !w->isChecked())
        return BST_UNCHECKED;
    return w->m_check == BST_INDETERMINATE ? BST_INDETERMINATE : BST_CHECKED;
}

void CButton::SetCheck(int check)
{
    if (ctl::ButtonWidget* w = Widget(this)) {
        w->m_check = check;
        w->setChecked(check != BST_UNCHECKED);
        w->update();
    }
}

UINT CButton::GetState() const
{
    ctl::ButtonWidget* w = Widget(this);
    if (w == nullptr)
        return 0;
    return UINT(GetCheck()) | (w->isDown() ? BST_PUSHED : 0) | (w->hasFocus() ? BST_FOCUS : 0);
}

void CButton::SetState(BOOL pushed)
{
    if (ctl::ButtonWidget* w = Widget(this))
        w->setDown(pushed != FALSE);
}

void CButton::SetButtonStyle(UINT style, BOOL redraw)
{
    SendMessage(BM_SETSTYLE, style, redraw);
}

void CButton::Click()
{
    if (ctl::ButtonWidget* w = Widget(this); w != nullptr && w->isEnabled())
        w->click();
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

UINT CButton::OnGetDlgCode()
{
    const UINT type = GetStyle() & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (type == BS_PUSHBUTTON)
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    return DLGC_BUTTON;
}

LRESULT CButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BM_GETCHECK: return GetCheck();
    case BM_SETCHECK: SetCheck(int(wParam)); return 0;
    case BM_GETSTATE: return LRESULT(GetState());
    case BM_SETSTATE: SetState(BOOL(wParam)); return 0;
    case BM_CLICK: Click(); return 0;
    case BM_SETSTYLE:
        m_style = (m_style & ~0xFFFFu) | DWORD(wParam & 0xFFFF);
        if (m_hWnd != nullptr) {
            if (auto* w = Widget(this))
                w->m_style = m_style;
            if (lParam != 0)
                m_hWnd->update();
        }
        return 0;
    case WM_ENABLE: OnEnable(BOOL(wParam)); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_CANCELMODE: OnCancelMode(); return 0;
    case WM_ACTIVATE: OnActivate(UINT(LOWORD(wParam)), nullptr, FALSE); return 0;
    case WM_GETDLGCODE: return LRESULT(OnGetDlgCode());
    default: return CControlBase::WindowProc(message, wParam, lParam);
    }
}
