#include "platform/ui/CDialog.h"

#include "platform/ui/CButton.h"
#include "platform/ui/CControlBase.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/control_widgets.h"
#include "platform/ui/message_box.h"
#include "platform/ui/ui_runtime.h"

#include <QEventLoop>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

ModalDialogHook& Hook()
{
    static ModalDialogHook hook;
    return hook;
}

} // namespace

ModalDialogHook SetModalDialogHook(ModalDialogHook hook)
{
    ModalDialogHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

void BuildDialogControls(const DlgTemplate& tmpl, CWnd* parent, std::vector<std::unique_ptr<CWnd>>& owned)
{
    for (const DlgItemTemplate& item : tmpl.items) {
        if (CWnd* control = CreateControlFromTemplate(item, parent))
            owned.emplace_back(control);
    }
}

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    if (m_loop != nullptr)
        m_loop->exit(IDCANCEL);
    if (m_hWnd != nullptr)
        DestroyWindow();
    ReleaseControls();
}

void CDialog::ReleaseControls()
{
    m_controls.clear();
}

BOOL CDialog::BuildWindow(const DlgTemplate& tmpl, CWnd* parent, bool modal)
{
    uirt::EnsureApplication();
    if (m_hWnd != nullptr)
        return FALSE;
    const bool child = (tmpl.style & WS_CHILD) != 0 && !modal;
    auto* widget = new ctl::DialogWidget(child, parent != nullptr ? parent->GetSafeHwnd() : nullptr);
    widget->resize(DialogUnitsToPixelsX(tmpl.cx), DialogUnitsToPixelsY(tmpl.cy));
    if (!child)
        widget->setWindowTitle(uirt::ToQ(tmpl.caption));
    AttachWidget(widget, 0);
    m_style = tmpl.style | (child ? WS_CHILD : 0);
    m_endResult = -1;
    m_modal = modal;
    BuildDialogControls(tmpl, this, m_controls);
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    const DlgTemplate* tmpl = FindDialogTemplate(m_templateId);
    if (tmpl == nullptr || !BuildWindow(*tmpl, m_pParentWnd, true))
        return -1;
    std::shared_ptr<WndLife> life = GetLife();
    {
        uirt::DispatchScope scope;
        OnInitDialog();
    }
    INT_PTR result = IDCANCEL;
    if (m_endResult != -1 || life->wnd != this) {
        result = m_endResult;
    } else if (Hook()) {
        ModalDialogHook hook = Hook();
        m_modalRunning = true;
        const long long answer = hook(*this);
        // A dialog that ended itself (an accepted OK) answers for itself.
        result = m_endResult != -1 ? m_endResult : INT_PTR(answer);
    } else {
        if (IsHeadlessSession())
            AbortUnansweredModal("modal dialog", tmpl->caption);
        m_hWnd->setWindowModality(Qt::ApplicationModal);
        ShowWindow(SW_SHOW);
        QEventLoop loop;
        m_loop = &loop;
        m_modalRunning = true;
        loop.exec();
        m_loop = nullptr;
        result = m_endResult;
    }
    m_modalRunning = false;
    if (life->wnd == this)
        DestroyWindow();
    ReleaseControls();
    m_modal = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    if (parent != nullptr)
        m_pParentWnd = parent;
    const DlgTemplate* tmpl = FindDialogTemplate(templateId);
    if (tmpl == nullptr || !BuildWindow(*tmpl, m_pParentWnd, false))
        return FALSE;
    std::shared_ptr<WndLife> life = GetLife();
    {
        uirt::DispatchScope scope;
        OnInitDialog();
    }
    if (life->wnd != this)
        return FALSE;
    if ((tmpl->style & WS_VISIBLE) != 0)
        ShowWindow(SW_SHOW);
    return TRUE;
}

void CDialog::EndDialog(int result)
{
    m_endResult = result;
    if (m_hWnd != nullptr)
        m_hWnd->hide();
    if (m_loop != nullptr)
        m_loop->exit(result);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    if (CWnd* first = GetNextDlgTabItem(nullptr))
        first->SetFocus();
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return FALSE;
    }
    return TRUE;
}

HBRUSH CDialog::OnCtlColor(CDC*, CWnd*, UINT)
{
    return nullptr;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    if (id == UINT(IDOK)) {
        OnOK();
        return TRUE;
    }
    if (id == UINT(IDCANCEL)) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

void CDialog::OnClose()
{
    SendMessage(WM_COMMAND, MAKEWPARAM(UINT(IDCANCEL), BN_CLICKED), 0);
}

void CDialog::PressButton(int id)
{
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(id))) {
        button->Click();
        return;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(UINT(id), BN_CLICKED), 0);
}

int CDialog::GetDefaultButtonId() const
{
    if (m_hWnd == nullptr)
        return IDOK;
    for (QObject* o : m_hWnd->children()) {
        auto* button = dynamic_cast<ctl::ButtonWidget*>(o);
        if (button != nullptr && (ctl::StyleOf(button) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return ctl::ControlId(button);
    }
    return IDOK;
}

void CDialog::CheckDlgButton(int id, UINT check)
{
    if (auto* button = dynamic_cast<CButton*>(GetDlgItem(id)))
        button->SetCheck(int(check));
}

UINT CDialog::IsDlgButtonChecked(int id) const
{
    auto* button = dynamic_cast<CButton*>(GetDlgItem(id));
    return button != nullptr ? UINT(button->GetCheck()) : 0;
}

void CDialog::CheckRadioButton(int first, int last, int check)
{
    for (int id = first; id <= last; ++id)
        CheckDlgButton(id, id == check ? BST_CHECKED : BST_UNCHECKED);
}

int CDialog::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id) {
        if (IsDlgButtonChecked(id) != 0)
            return id;
    }
    return 0;
}

void CDialog::MapDialogRect(LPRECT rect) const
{
    rect->left = DialogUnitsToPixelsX(rect->left);
    rect->right = DialogUnitsToPixelsX(rect->right);
    rect->top = DialogUnitsToPixelsY(rect->top);
    rect->bottom = DialogUnitsToPixelsY(rect->bottom);
}

void CDialog::GotoDlgCtrl(CWnd* control)
{
    if (control == nullptr)
        return;
    control->SetFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(control->GetSafeHwnd()))
        edit->selectAll();
}

CWnd* CDialog::GetNextDlgTabItem(CWnd* control, BOOL previous) const
{
    if (m_hWnd == nullptr)
        return nullptr;
    std::vector<CWnd*> stops;
    for (QObject* o : m_hWnd->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        CWnd* wnd = w != nullptr ? CWnd::FromHandlePermanent(w) : nullptr;
        if (wnd != nullptr && (wnd->GetStyle() & WS_TABSTOP) != 0 && w->isEnabled() && !w->isHidden())
            stops.push_back(wnd);
    }
    if (stops.empty())
        return nullptr;
    const auto at = std::find(stops.begin(), stops.end(), control);
    if (at == stops.end())
        return previous ? stops.back() : stops.front();
    const size_t i = size_t(at - stops.begin());
    const size_t n = stops.size();
    return stops[previous ? (i + n - 1) % n : (i + 1) % n];
}

void CDialog::NextDlgCtrl() const
{
    if (CWnd* next = GetNextDlgTabItem(CWnd::GetFocus()))
        next->SetFocus();
}
