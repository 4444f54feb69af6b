#include "platform/ui/CComboBox.h"

#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

#include <QAbstractItemView>
#include <QLineEdit>

IMPLEMENT_DYNAMIC(CComboBox, CControlBase)

namespace {

QComboBox* Box(const CWnd* wnd)
{
    return qobject_cast<QComboBox*>(wnd->GetSafeHwnd());
}

} // namespace

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateControl(CtlKind::ComboBox, CString(), style, rect, parent, nID);
}

int CComboBox::AddString(const CString& text)
{
    return InsertString(-1, text);
}

int CComboBox::InsertString(int index, const CString& text)
{
    QComboBox* b = Box(this);
    if (b == nullptr || index > b->count())
        return CB_ERR;
    ctl::QuietScope quiet(b);
    if (index < 0)
        index = b->count();
    const QString current = b->isEditable() ? b->currentText() : QString();
    const int selected = b->currentIndex();
    b->insertItem(index, uirt::ToQ(text), QVariant::fromValue<qulonglong>(0));
    // A list box of the framework keeps "no selection" after inserting.
    if (selected < 0) {
        b->setCurrentIndex(-1);
        if (b->isEditable())
            b->setEditText(current);
    }
    return index;
}

int CComboBox::DeleteString(int index)
{
    QComboBox* b = Box(this);
    if (b == nullptr || index < 0 || index >= b->count())
        return CB_ERR;
    ctl::QuietScope quiet(b);
    const bool wasSelected = b->currentIndex() == index;
    b->removeItem(index);
    if (wasSelected)
        b->setCurrentIndex(-1);
    return b->count();
}

void CComboBox::ResetContent()
{
    if (QComboBox* b = Box(this)) {
        ctl::QuietScope quiet(b);
        b->clear();
        if (b->isEditable())
            b->setEditText(QString());
    }
}

int CComboBox::GetCount() const
{
    QComboBox* b = Box(this);
    return b != nullptr ? b->count() : CB_ERR;
}

int CComboBox::GetCurSel() const
{
    QComboBox* b = Box(this);
    return b != nullptr ? b->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index)
{
    QComboBox* b = Box(this);
    if (b == nullptr)
        return CB_ERR;
    ctl::QuietScope quiet(b);
    if (index < 0 || index >= b->count()) {
        b->setCurrentIndex(-1);
        return CB_ERR;
    }
    b->setCurrentIndex(index);
    return index;
}

void CComboBox::GetLBText(int index, CString& text) const
{
    text = GetLBText(index);
}

CString CComboBox::GetLBText(int index) const
{
    QComboBox* b = Box(this);
    if (b == nullptr || index < 0 || index >= b->count())
        return CString();
    return uirt::FromQ(b->itemText(index));
}

int CComboBox::GetLBTextLen(int index) const
{
    QComboBox* b = Box(this);
    if (b == nullptr || index < 0 || index >= b->count())
        return CB_ERR;
    return int(b->itemText(index).size());
}

int CComboBox::FindStringExact(int startAfter, const CString& text) const
{
    QComboBox* b = Box(this);
    if (b == nullptr)
        return CB_ERR;
    const QString wanted = uirt::ToQ(text);
    const int n = b->count();
    // The search wraps around, case-insensitive, like the framework's.
    for (int k = 1; k <= n; ++k) {
        const int i = (startAfter + k) % n;
        if (i >= 0 && b->itemText(i).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int startAfter, const CString& prefix)
{
    QComboBox* b = Box(this);
    if (b == nullptr)
        return CB_ERR;
    const QString wanted = uirt::ToQ(prefix);
    const int n = b->count();
    for (int k = 1; k <= n; ++k) {
        const int i = (startAfter + k) % n;
        if (i >= 0 && b->itemText(i).startsWith(wanted, Qt::CaseInsensitive))
            return SetCurSel(i);
    }
    return CB_ERR;
}

int CComboBox::SetItemData(int index, std::uintptr_t data)
{
    QComboBox* b = Box(this);
    if (b == nullptr || index < 0 || index >= b->count())
        return CB_ERR;
    b->setItemData(index, QVariant::fromValue<qulonglong>(data));
    return 0;
}

std::uintptr_t CComboBox::GetItemData(int index) const
{
    QComboBox* b = Box(this);
    if (b == nullptr || index < 0 || index >= b->count())
        return std::uintptr_t(CB_ERR);
    return std::uintptr_t(b->itemData(index).toULongLong());
}

BOOL CComboBox::SetEditSel(int start, int end)
{
    QComboBox* b = Box(this);
    QLineEdit* e = b != nullptr ? b->lineEdit() : nullptr;
    if (e == nullptr)
        return FALSE;
    const int length = int(e->text().size());
    if (start < 0) {
        e->deselect();
        return TRUE;
    }
    if (end < 0 || end > length)
        end = length;
    e->setSelection(start, end - start);
    return TRUE;
}

DWORD CComboBox::GetEditSel() const
{
    QComboBox* b = Box(this);
    QLineEdit* e = b != nullptr ? b->lineEdit() : nullptr;
    if (e == nullptr)
        return 0;
    const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const int end = e->hasSelectedText() ? e->selectionEnd() : start;
    return DWORD(start & 0xFFFF) | DWORD(end & 0xFFFF) << 16;
}

int CComboBox::SetDroppedHeight(int pixels)
{
    auto* b = dynamic_cast<ctl::ComboWidget*>(m_hWnd);
    if (b == nullptr)
        return CB_ERR;
    b->SetListHeight(pixels);
    return pixels;
}

int CComboBox::SetDroppedWidth(int pixels)
{
    QComboBox* b = Box(this);
    if (b == nullptr)
        return CB_ERR;
    b->view()->setMinimumWidth(pixels);
    return pixels;
}

int CComboBox::SetItemHeight(int index, int pixels)
{
    QComboBox* b = Box(this);
    if (b == nullptr || pixels <= 0)
        return CB_ERR;
    // -1 is the selection field, the others the list's rows.
    if (index < 0)
        b->setMinimumHeight(pixels + 6);
    return 0;
}

void CComboBox::ShowDropDown(BOOL show)
{
    if (QComboBox* b = Box(this)) {
        if (show)
            b->showPopup();
        else
            b->hidePopup();
    }
}
