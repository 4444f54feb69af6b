#include "process/path_fields.h"

#include <cmath>

#include "geometry/text_utils.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CWnd.h"

namespace pathdlg {

CString Text(const CWnd* dialog, int id)
{
    CString text;
    if (dialog != nullptr && dialog->GetDlgItem(id) != nullptr)
        dialog->GetDlgItemText(id, text);
    return text;
}

double Number(const CWnd* dialog, int id)
{
    const double v = TextToDouble(Text(dialog, id));
    return std::isfinite(v) ? v : 0.0;
}

void SetNumber4(CWnd* dialog, int id, double value)
{
    if (dialog != nullptr)
        dialog->SetDlgItemText(id, FormatNumber4(value));
}

void SetText(CWnd* dialog, int id, const char16_t* text)
{
    if (dialog != nullptr)
        dialog->SetDlgItemText(id, CString(text));
}

bool Checked(const CWnd* dialog, int id)
{
    auto* b = dialog != nullptr ? dynamic_cast<CButton*>(dialog->GetDlgItem(id)) : nullptr;
    return b != nullptr && b->GetCheck() != 0;
}

void SetChecked(CWnd* dialog, int id, bool checked)
{
    if (auto* b = dialog != nullptr ? dynamic_cast<CButton*>(dialog->GetDlgItem(id)) : nullptr)
        b->SetCheck(checked ? 1 : 0);
}

void Enable(CWnd* dialog, int id, bool enable)
{
    if (CWnd* w = dialog != nullptr ? dialog->GetDlgItem(id) : nullptr)
        w->EnableWindow(enable ? TRUE : FALSE);
}

void Show(CWnd* dialog, int id, bool show)
{
    if (CWnd* w = dialog != nullptr ? dialog->GetDlgItem(id) : nullptr)
        w->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

CComboBox* Combo(const CWnd* dialog, int id)
{
    return dialog != nullptr ? dynamic_cast<CComboBox*>(dialog->GetDlgItem(id)) : nullptr;
}

namespace {

// The rows of an open list, pixels.
constexpr int kComboRowHeight = 18;

void GrowDropDown(CComboBox* c, int extraHeight)
{
    c->ModifyStyle(0, CBS_NOINTEGRALHEIGHT);
    c->SetDroppedHeight(c->GetCount() * kComboRowHeight + extraHeight);
}

} // namespace

void FillCombo(CWnd* dialog, int id, std::initializer_list<const char16_t*> items, int extraHeight)
{
    CComboBox* c = Combo(dialog, id);
    if (c == nullptr)
        return;
    c->ResetContent();
    for (const char16_t* item : items)
        c->AddString(CString(item));
    GrowDropDown(c, extraHeight);
}

void FillComboNumbers(CWnd* dialog, int id, int first, int last, int extraHeight)
{
    CComboBox* c = Combo(dialog, id);
    if (c == nullptr)
        return;
    c->ResetContent();
    for (int n = first; n <= last; ++n) {
        CString item;
        item.Format(u"%d", n);
        c->AddString(item);
    }
    GrowDropDown(c, extraHeight);
}

void SelectCombo(CWnd* dialog, int id, int index)
{
    if (CComboBox* c = Combo(dialog, id))
        c->SetCurSel(index >= 0 && index < c->GetCount() ? index : 0);
}

int ComboIndex(const CWnd* dialog, int id)
{
    const CComboBox* c = Combo(dialog, id);
    return c != nullptr ? c->GetCurSel() : -1;
}

std::uint32_t AbsoluteAtMost(double value, std::uint32_t limit)
{
    const double magnitude = std::trunc(std::fabs(value));
    if (!(magnitude < double(limit)))
        return std::isnan(magnitude) ? 0 : limit;
    return std::uint32_t(magnitude);
}

std::uint16_t TrackFromTyped(double value)
{
    constexpr double kMaxTrack = 1000.0;
    const double track = std::trunc(value * 10.0);
    if (!(track > 0.0))
        return 0;
    return std::uint16_t(track > kMaxTrack ? kMaxTrack : track);
}

std::uint8_t ChoiceFromIndex(int index)
{
    return index < 0 ? 0 : index > 255 ? 255 : std::uint8_t(index);
}

} // namespace pathdlg
