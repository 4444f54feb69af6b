#include "platform/ui/CControlBase.h"

#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CStatic.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

#include <memory>

IMPLEMENT_DYNAMIC(CControlBase, CWnd)

HBRUSH CControlBase::CtlColor(CDC*, UINT)
{
    return nullptr;
}

BOOL CControlBase::SubclassControl(UINT nID, CWnd* parent)
{
    CWnd* old = parent != nullptr ? parent->GetDlgItem(int(nID)) : nullptr;
    const DWORD style = old != nullptr ? old->GetStyle() : 0;
    if (!CWnd::SubclassDlgItem(nID, parent))
        return FALSE;
    // The style belongs to the control, not to the object that wraps it.
    if (old != nullptr && old != this)
        m_style = style;
    PreSubclassWindow();
    return TRUE;
}

void CControlBase::SetRedraw(BOOL redraw)
{
    if (m_hWnd == nullptr)
        return;
    m_hWnd->setUpdatesEnabled(redraw != FALSE);
    if (redraw)
        m_hWnd->update();
}

namespace {

QWidget* MakeWidget(CtlKind kind, DWORD style, QWidget* parent)
{
    switch (kind) {
    case CtlKind::Button: return new ctl::ButtonWidget(style, parent);
    case CtlKind::Edit:
        if ((style & ES_MULTILINE) != 0)
            return new ctl::MultiEditWidget(style, parent);
        return new ctl::EditWidget(style, parent);
    case CtlKind::Static: return new ctl::StaticWidget(style, parent);
    case CtlKind::ComboBox: return new ctl::ComboWidget(style, parent);
    case CtlKind::ListBox: return new ctl::ListBoxWidget(style, parent);
    case CtlKind::ListView: return ctl::CreateListView(style, parent);
    case CtlKind::Tab: return new ctl::TabWidget(style, parent);
    }
    return nullptr;
}

} // namespace

BOOL CControlBase::CreateControl(CtlKind kind, const CString& caption, DWORD style, const RECT& rect, CWnd* parent,
                                 UINT nID)
{
    uirt::EnsureApplication();
    if (m_hWnd != nullptr || parent == nullptr || parent->GetSafeHwnd() == nullptr)
        return FALSE;
    QWidget* w = MakeWidget(kind, style | WS_CHILD, parent->GetSafeHwnd());
    int height = rect.bottom - rect.top;
    // A combo box's height is that of its open list; the box itself is one row.
    const int listHeight = height;
    if (kind == CtlKind::ComboBox)
        height = w->sizeHint().height();
    w->setGeometry(rect.left, rect.top, rect.right - rect.left, height);
    if (kind == CtlKind::Button && (style & BS_TYPEMASK) == BS_GROUPBOX)
        w->lower(); // drawn beneath the controls it frames
    m_style = style | WS_CHILD;
    AttachWidget(w, nID);
    m_style = style | WS_CHILD;
    if (!caption.IsEmpty())
        SetWindowText(caption);
    if (auto* combo = dynamic_cast<CComboBox*>(this))
        combo->SetDroppedHeight(listHeight - height);
    if ((style & WS_DISABLED) != 0)
        w->setEnabled(false);
    if ((style & WS_VISIBLE) != 0)
        w->show();
    else
        w->hide();
    return TRUE;
}

CWnd* CreateControlFromTemplate(const DlgItemTemplate& item, CWnd* parent)
{
    std::unique_ptr<CControlBase> wnd;
    switch (item.kind) {
    case CtlKind::Button: wnd = std::make_unique<CButton>(); break;
    case CtlKind::Edit: wnd = std::make_unique<CEdit>(); break;
    case CtlKind::Static: wnd = std::make_unique<CStatic>(); break;
    case CtlKind::ComboBox: wnd = std::make_unique<CComboBox>(); break;
    case CtlKind::ListBox: wnd = std::make_unique<CListBox>(); break;
    case CtlKind::ListView: wnd = std::make_unique<CListCtrl>(); break;
    case CtlKind::Tab: wnd = std::make_unique<CTabCtrl>(); break;
    }
    const RECT rect{DialogUnitsToPixelsX(item.x), DialogUnitsToPixelsY(item.y),
                    DialogUnitsToPixelsX(item.x + item.cx), DialogUnitsToPixelsY(item.y + item.cy)};
    if (!wnd->CreateControl(item.kind, item.caption, item.style, rect, parent, UINT(item.id)))
        return nullptr;
    return wnd.release();
}
