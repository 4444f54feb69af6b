#include "process/CZorva_SkuTab.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string_view>
#include <vector>

#include "app/MachiningSettings.h"
#include "geometry/text_utils.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/dialog_template.h"
#include "process/CZorvatrailSql.h"
#include "process/ProcessState.h"
#include "process/field_io.h"

namespace {

constexpr int IDC_TITLE = 1031;
constexpr int kRowLabelIds[kSevenCutRows] = {1190, 1191, 1192, 1193, 1194, 1195, 1196};

// Geometry in dialog units; a column is its cell and a gap of 2.
constexpr int kFirstColumnX = 36, kCellWidth = 28, kWideCellWidth = 34, kColumnGap = 2;
constexpr int kHeaderY = 15, kHeaderHeight = 22;
constexpr int kFirstRowY = 39, kRowHeight = 15, kCellHeight = 12;
// The open list of a drop-down reaches about 100 pixels below its box.
constexpr int kOpenListHeight = kCellHeight + 67;
constexpr std::uint16_t kMaxTrackShown = 1000;

bool IsDecimal(const CutColumn& c)
{
    return c.conversion == CutConversion::number || c.conversion == CutConversion::x10;
}

bool IsDropDown(const CutColumn& c)
{
    return c.items.count > 0;
}

// Lists of words ("低压", "高压") need more room than digits.
int CellWidth(const CutColumn& c)
{
    if (c.items.texts != nullptr)
        for (int i = 0; i < c.items.count; ++i)
            if (std::u16string_view(c.items.texts[i]).size() > 1)
                return kWideCellWidth;
    return kCellWidth;
}

void AddCell(DlgTemplate& t, const CutColumn& column, int id, int row, int x)
{
    const int y = kFirstRowY + row * kRowHeight;
    const int width = CellWidth(column);
    DlgItemTemplate item = IsDropDown(column)
        ? dlg::ComboBox(id, x, y, width, kOpenListHeight, CBS_DROPDOWNLIST | WS_TABSTOP)
        : dlg::EditText(id, x, y, width, kCellHeight, ES_AUTOHSCROLL | (IsDecimal(column) ? 0 : ES_NUMBER));
    // Rows past the first appear with the pass count.
    if (row > 0)
        item.style &= ~WS_VISIBLE;
    t.items.push_back(item);
}

DlgTemplate PageTemplate(const SevenCutLayout& layout)
{
    std::vector<int> x;
    int right = kFirstColumnX;
    for (const CutColumn& c : layout.columns) {
        x.push_back(right);
        right += CellWidth(c) + kColumnGap;
    }
    DlgTemplate t{layout.templateId, CString(), WS_CHILD, right + 4, kFirstRowY + kSevenCutRows * kRowHeight + 2, {}};
    t.items.push_back(dlg::LText(-1, CString(u"工艺："), 4, 3, 24, 10));
    t.items.push_back(dlg::LText(IDC_TITLE, CString(u"--"), 28, 3, 60, 10));
    for (size_t c = 0; c < layout.columns.size(); ++c)
        t.items.push_back(dlg::CText(-1, CString(layout.columns[c].label), x[c], kHeaderY,
                                     CellWidth(layout.columns[c]), kHeaderHeight));
    for (int r = 0; r < kSevenCutRows; ++r) {
        CString label;
        label.Format(u"第 %d 刀", r + 1);
        DlgItemTemplate l = dlg::LText(kRowLabelIds[r], label, 4, kFirstRowY + r * kRowHeight + 2, 32, 10);
        if (r > 0)
            l.style &= ~WS_VISIBLE;
        t.items.push_back(l);
        for (size_t c = 0; c < layout.columns.size(); ++c)
            AddCell(t, layout.columns[c], layout.ids[r][c], r, x[c]);
    }
    return t;
}

void RegisterPageTemplate(const SevenCutLayout& layout)
{
    static std::set<unsigned> registered;
    if (registered.insert(layout.templateId).second)
        RegisterDialogTemplate(PageTemplate(layout));
}

void FillItems(CComboBox* combo, const CutColumnItems& items)
{
    combo->ResetContent();
    for (int i = 0; i < items.count; ++i) {
        CString text;
        if (items.texts != nullptr)
            text = CString(items.texts[i]);
        else
            text.Format(u"%d", items.first + i);
        combo->AddString(text);
    }
}

CString ShownText(const CutParams& cut, const CutColumn& column)
{
    CString text;
    if (column.field == CutField::allowance)
        return FormatNumber4(cut.allowance);
    if (column.field == CutField::trackValueX10) {
        text.Format(u"%.1f", std::min(cut.trackValueX10, kMaxTrackShown) / 10.0);
        return text;
    }
    text.Format(u"%d", int(CutFieldValue(cut, column.field)));
    return text;
}

} // namespace

std::uint16_t ConvertCutText(CutConversion conversion, double number)
{
    // Before, 300 typed into a byte field stored 44 and a negative tracking
    // value 65526: out-of-range values now stop at the field's limit.
    const double whole = std::trunc(number);
    switch (conversion) {
    case CutConversion::abs16: return std::uint16_t(std::min(std::fabs(whole), 65535.0));
    case CutConversion::abs8: return std::uint16_t(std::min(std::fabs(whole), 255.0));
    case CutConversion::x10: return std::uint16_t(std::clamp(std::trunc(number * 10.0), 0.0, 65535.0));
    case CutConversion::number:
    case CutConversion::index: break;
    }
    return 0;
}

long CutFieldValue(const CutParams& cut, CutField field)
{
    switch (field) {
    case CutField::allowance: return long(cut.allowance);
    case CutField::pulseWidth: return cut.pulseWidth;
    case CutField::pulseInterval: return cut.pulseInterval;
    case CutField::groupWidthOrCurrent: return cut.groupWidthOrCurrent;
    case CutField::groupIntervalOrVoltage: return cut.groupIntervalOrVoltage;
    case CutField::trackValueX10: return cut.trackValueX10;
    case CutField::speedLimit: return cut.speedLimit;
    case CutField::groupPulse: return cut.groupPulse;
    case CutField::stepPulse: return cut.stepPulse;
    case CutField::repeatTime: return cut.repeatTime;
    case CutField::wireSpeed: return cut.wireSpeed;
    case CutField::choice0: return cut.choice[0];
    case CutField::choice1: return cut.choice[1];
    case CutField::choice2: return cut.choice[2];
    case CutField::choice3: return cut.choice[3];
    case CutField::choice4: return cut.choice[4];
    }
    return 0;
}

void SetCutFieldValue(CutParams& cut, CutField field, long value)
{
    const auto u16 = std::uint16_t(value);
    const auto u8 = std::uint8_t(value);
    switch (field) {
    case CutField::allowance: cut.allowance = double(value); break;
    case CutField::pulseWidth: cut.pulseWidth = u16; break;
    case CutField::pulseInterval: cut.pulseInterval = u8; break;
    case CutField::groupWidthOrCurrent: cut.groupWidthOrCurrent = u8; break;
    case CutField::groupIntervalOrVoltage: cut.groupIntervalOrVoltage = u8; break;
    case CutField::trackValueX10: cut.trackValueX10 = u16; break;
    case CutField::speedLimit: cut.speedLimit = u16; break;
    case CutField::groupPulse: cut.groupPulse = u16; break;
    case CutField::stepPulse: cut.stepPulse = u16; break;
    case CutField::repeatTime: cut.repeatTime = u16; break;
    case CutField::wireSpeed: cut.wireSpeed = u16; break;
    case CutField::choice0: cut.choice[0] = u8; break;
    case CutField::choice1: cut.choice[1] = u8; break;
    case CutField::choice2: cut.choice[2] = u8; break;
    case CutField::choice3: cut.choice[3] = u8; break;
    case CutField::choice4: cut.choice[4] = u8; break;
    }
}

CZorva_SkuTab::CZorva_SkuTab(const SevenCutLayout& layout) : CDialog(layout.templateId), m_layout(layout)
{
    RegisterPageTemplate(layout);
}

BOOL CZorva_SkuTab::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int r = 0; r < kSevenCutRows; ++r)
        for (int c = 0; c < int(m_layout.columns.size()); ++c)
            if (auto* combo = dynamic_cast<CComboBox*>(CellControl(r, c)))
                FillItems(combo, m_layout.columns[size_t(c)].items);
    return TRUE;
}

// Enter inside a page closes nothing.
void CZorva_SkuTab::OnOK() {}

// Esc inside a page closes the whole table dialog.
void CZorva_SkuTab::OnCancel()
{
    if (g_ProcessTableDialog != nullptr)
        g_ProcessTableDialog->OnCancel();
}

HBRUSH CZorva_SkuTab::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (HBRUSH brush = ProcessEditColours(pDC, nCtlColor))
        return brush;
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

CWnd* CZorva_SkuTab::CellControl(int row, int column) const
{
    return GetDlgItem(m_layout.ids[row][column]);
}

void CZorva_SkuTab::ReadCuts(CutParams (&cuts)[7]) const
{
    for (int r = 0; r < kSevenCutRows; ++r) {
        CutParams& cut = cuts[r];
        cut = CutParams{};
        for (int c = 0; c < int(m_layout.columns.size()); ++c) {
            const CutColumn& column = m_layout.columns[size_t(c)];
            CWnd* control = CellControl(r, c);
            if (column.conversion == CutConversion::index) {
                auto* combo = dynamic_cast<CComboBox*>(control);
                const int index = combo != nullptr ? combo->GetCurSel() : -1;
                SetCutFieldValue(cut, column.field, index >= 0 && index < 255 ? index : 255);
            } else if (column.conversion == CutConversion::number) {
                cut.allowance = proc::FieldNumber(this, m_layout.ids[r][c]);
            } else {
                SetCutFieldValue(cut, column.field,
                                 ConvertCutText(column.conversion, proc::FieldNumber(this, m_layout.ids[r][c])));
            }
        }
        // A group number past the list (none chosen) is stored as group 0.
        if (m_layout.codingMode == kCodingHfGroup && cut.choice[0] > 7)
            cut.choice[0] = 0;
    }
}

void CZorva_SkuTab::ShowCuts(const CutParams (&cuts)[7])
{
    for (int r = 0; r < kSevenCutRows; ++r) {
        for (int c = 0; c < int(m_layout.columns.size()); ++c) {
            const CutColumn& column = m_layout.columns[size_t(c)];
            if (auto* combo = dynamic_cast<CComboBox*>(CellControl(r, c))) {
                const long index = CutFieldValue(cuts[r], column.field);
                combo->SetCurSel(index < column.items.count ? int(index) : 0);
            } else {
                SetDlgItemText(m_layout.ids[r][c], ShownText(cuts[r], column));
            }
        }
    }
}

void CZorva_SkuTab::ShowPassRows(int index)
{
    for (int r = 1; r < kSevenCutRows; ++r) {
        const int show = r <= index ? SW_SHOW : SW_HIDE;
        if (CWnd* label = GetDlgItem(kRowLabelIds[r]))
            label->ShowWindow(show);
        for (int c = 0; c < int(m_layout.columns.size()); ++c)
            if (CWnd* control = CellControl(r, c))
                control->ShowWindow(show);
    }
}

void CZorva_SkuTab::SetTitle(const CString& text)
{
    SetDlgItemText(IDC_TITLE, text);
}
