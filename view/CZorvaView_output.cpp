// The command output list (list box 1008 of the command bar): errors "#",
// hints "*", information ">", separators of 68 hyphens.

#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "view/CZorvaView.h"

namespace {

CListBox* OutputList()
{
    return g_commandBar ? dynamic_cast<CListBox*>(g_commandBar->GetDlgItem(kIdOutputList)) : nullptr;
}

void ScrollToLast(CListBox* list)
{
    const int n = list->GetCount();
    if (n > 0)
        list->SetTopIndex(n - 1);
}

} // namespace

void CZorvaView::PrintLine(const CString& text, int clear)
{
    m_lastWasSeparator = 0;
    CListBox* list = OutputList();
    if (list == nullptr)
        return;
    if (clear)
        list->ResetContent();
    if (!text.IsEmpty())
        list->AddString(text);
    for (int i = 0; i < 2 && list->GetCount() > kOutputMaxLines; ++i)
        list->DeleteString(0);
    ScrollToLast(list);
}

void CZorvaView::PrintSeparator()
{
    if (m_lastWasSeparator)
        return;
    m_lastWasSeparator = 1;
    CListBox* list = OutputList();
    if (list == nullptr)
        return;
    list->AddString(CString(u'-', 68));
    if (list->GetCount() > kSeparatorTrimLines)
        list->DeleteString(0);
    ScrollToLast(list);
}

void CZorvaView::ClearOutput()
{
    if (CListBox* list = OutputList())
        list->ResetContent();
    if (g_commandBar != nullptr)
        g_commandBar->SetDlgItemText(kIdCommandEdit, CString());
}

void CZorvaView::ResetCommandEdit()
{
    if (g_commandBar == nullptr)
        return;
    g_commandBar->SetDlgItemText(kIdCommandEdit, CString());
    ArmPendingAction(kActionFocusEdit, 2);
}
