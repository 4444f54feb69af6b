#include "platform/ui/CColorDialog.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ui_runtime.h"
#include "platform/ui/message_box.h"

#include <QColorDialog>

namespace {

ColorDialogHook& Hook()
{
    static ColorDialogHook hook;
    return hook;
}

} // namespace

ColorDialogHook SetColorDialogHook(ColorDialogHook hook)
{
    ColorDialogHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

CColorDialog::CColorDialog(COLORREF initial, unsigned flags, CWnd* parent)
    : m_color(initial), m_flags(flags), m_parent(parent)
{
}

std::intptr_t CColorDialog::DoModal()
{
    COLORREF chosen = m_color;
    if (Hook()) {
        ColorDialogHook hook = Hook();
        if (!hook(m_color, chosen))
            return IDCANCEL;
        m_color = chosen;
        return IDOK;
    }
    if (IsHeadlessSession())
        AbortUnansweredModal("colour dialog", CString(u"颜色"));
    const QColor initial(GetRValue(m_color), GetGValue(m_color), GetBValue(m_color));
    const QColor picked = QColorDialog::getColor(initial, (m_parent ? m_parent->GetSafeHwnd() : nullptr));
    if (!picked.isValid())
        return IDCANCEL;
    m_color = RGB(picked.red(), picked.green(), picked.blue());
    return IDOK;
}
