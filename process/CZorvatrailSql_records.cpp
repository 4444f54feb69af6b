// The table dialog between its controls and the records: the shown record,
// the list of records and its filter, and the selection.

#include "process/CZorvatrailSql.h"

#include <cmath>
#include <ctime>

#include "app/AppState.h"
#include "geometry/text_utils.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListCtrl.h"
#include "process/CZorva_SkuTab.h"
#include "process/ProcessState.h"
#include "process/field_io.h"

namespace {

constexpr int IDC_PASS_COUNT = 1177, IDC_LIST = 1008, IDC_OUTER = 1043, IDC_INNER = 1029;
constexpr int IDC_NUMBER = 1170, IDC_WIRE = 1171, IDC_THICKNESS = 1172, IDC_COMPENSATION = 1173;
constexpr int IDC_EFFICIENCY = 1174, IDC_FINISH = 1175, IDC_MATERIAL = 1176;
constexpr std::uintptr_t kMarkedRow = 2;

const struct {
    const char16_t* title;
    int width;
} kColumns[] = {
    // Wide enough for every heading in the dialog font.
    {u"工艺号", 60},        {u"材料说明", 120},      {u"钼丝直径(mm)", 92},
    {u"工件厚度(mm)", 92},  {u"补偿(mm)", 72},       {u"切割次数", 64},
    {u"加工效率(mm2/min)", 128}, {u"光洁度", 52},    {u"形状", 44},
};

// Both bounds 0: no condition.
template <class T>
bool InRange(T value, const T (&range)[2])
{
    if (range[0] == 0 && range[1] == 0)
        return true;
    return range[0] <= value && value <= range[1];
}

bool PassesFilter(const trail_sql_t& r)
{
    if (!g_ProcessFilterText.IsEmpty() && MaterialText(r).Find(g_ProcessFilterText.GetString()) < 0)
        return false;
    return InRange(r.thickness, g_ProcessFilterThickness) && InRange(r.efficiency, g_ProcessFilterEfficiency) &&
           InRange(r.finish, g_ProcessFilterFinish);
}

CString Int(int value)
{
    CString text;
    text.Format(u"%d", value);
    return text;
}

void AddRow(CListCtrl* list, const trail_sql_t& r)
{
    CString number;
    number.Format(u"<%d>", r.processNo);
    const int row = list->InsertItem(list->GetItemCount(), number);
    const CString material = MaterialText(r);
    list->SetItemText(row, 1, material.IsEmpty() ? CString(u"-") : material);
    list->SetItemText(row, 2, FormatNumber4(r.wireDiameter));
    list->SetItemText(row, 3, FormatNumber4(r.thickness));
    list->SetItemText(row, 4, FormatNumber4(r.compensation));
    list->SetItemText(row, 5, Int(r.cutCount));
    list->SetItemText(row, 6, Int(r.efficiency));
    list->SetItemText(row, 7, Int(r.finish));
    list->SetItemText(row, 8, CString(r.shape == 0 ? u"外形" : u"内孔"));
    list->SetItemData(row, 0);
}

} // namespace

trail_sql_t OpeningProcessRecord()
{
    trail_sql_t r{};
    r.processNo = 1;
    r.compensation = g_MachiningSettings.compensation;
    r.thickness = g_MachiningSettings.thickness;
    r.cutCount = g_MachiningSettings.passCount;
    for (int k = 0; k < kSevenCutRows; ++k)
        r.cuts[k] = g_MachiningSettings.passCuts[k];
    return r;
}

trail_sql_t DefaultProcessRecord()
{
    trail_sql_t r{};
    r.processNo = 1;
    r.compensation = 0.1;
    r.cutCount = 1;
    return r;
}

void CZorvatrailSql::ShowRecord(const trail_sql_t& record)
{
    const int count = record.cutCount < 1 ? 1 : record.cutCount;
    ShowPassRows(count - 1);
    if (auto* passes = dynamic_cast<CComboBox*>(GetDlgItem(IDC_PASS_COUNT)))
        passes->SetCurSel(count <= kSevenCutRows ? count - 1 : -1);
    proc::SetFieldInt(this, IDC_NUMBER, record.processNo);
    SetDlgItemText(IDC_WIRE, FormatNumber4(record.wireDiameter));
    SetDlgItemText(IDC_THICKNESS, FormatNumber4(record.thickness));
    SetDlgItemText(IDC_COMPENSATION, FormatNumber4(record.compensation));
    proc::SetFieldInt(this, IDC_EFFICIENCY, record.efficiency);
    proc::SetFieldInt(this, IDC_FINISH, record.finish);
    SetDlgItemText(IDC_MATERIAL, MaterialText(record));
    proc::SetFieldChecked(this, IDC_INNER, record.shape != 0);
    proc::SetFieldChecked(this, IDC_OUTER, record.shape == 0);
    SetPageTitle(Int(record.processNo));
    if (m_page != nullptr)
        m_page->ShowCuts(record.cuts);
}

void CZorvatrailSql::RecordFromControls(trail_sql_t& record) const
{
    record = trail_sql_t{};
    auto* passes = dynamic_cast<CComboBox*>(GetDlgItem(IDC_PASS_COUNT));
    const int index = passes != nullptr ? passes->GetCurSel() : -1;
    record.cutCount = index >= 0 ? index + 1 : 1;
    record.timeStamp = std::int64_t(std::time(nullptr));
    record.processNo = proc::FieldAbsInt(this, IDC_NUMBER);
    record.wireDiameter = std::fabs(proc::FieldNumber(this, IDC_WIRE));
    record.thickness = std::fabs(proc::FieldNumber(this, IDC_THICKNESS));
    record.compensation = std::fabs(proc::FieldNumber(this, IDC_COMPENSATION));
    record.efficiency = proc::FieldAbsInt(this, IDC_EFFICIENCY);
    record.finish = proc::FieldAbsInt(this, IDC_FINISH);
    record.shape = proc::FieldChecked(this, IDC_OUTER) ? 0 : 1;
    SetMaterialText(record, proc::FieldText(this, IDC_MATERIAL));
    if (m_page != nullptr)
        m_page->ReadCuts(record.cuts);
}

void CZorvatrailSql::FillList()
{
    m_rowMap.clear();
    auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_LIST));
    if (list == nullptr)
        return;
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    int column = 0;
    for (const auto& c : kColumns)
        list->InsertColumn(column++, CString(c.title), LVCFMT_LEFT, c.width);
    for (size_t i = 0; i < g_ProcessTable.size(); ++i) {
        if (g_ProcessFilterActive && !PassesFilter(g_ProcessTable[i]))
            continue;
        m_rowMap.push_back(int(i));
        AddRow(list, g_ProcessTable[i]);
    }
    g_ProcessFilterActive = 0;
    // A selected record the refill does not list is no longer selected:
    // the buttons act only on the marked row's record.
    if (std::find(m_rowMap.begin(), m_rowMap.end(), m_selectedIndex) == m_rowMap.end())
        m_selectedIndex = -1;
    MarkSelectedRow();
}

void CZorvatrailSql::MarkSelectedRow()
{
    auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_LIST));
    if (list == nullptr)
        return;
    for (int row = 0; row < int(m_rowMap.size()) && row < list->GetItemCount(); ++row) {
        const bool marked = m_rowMap[size_t(row)] == m_selectedIndex;
        list->SetItemData(row, marked ? kMarkedRow : 0);
        list->SetItemState(row, marked ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    list->Invalidate();
}

void CZorvatrailSql::ShowPassRows(int index)
{
    if (m_page != nullptr)
        m_page->ShowPassRows(index);
}

void CZorvatrailSql::SetPageTitle(const CString& text)
{
    if (m_page != nullptr)
        m_page->SetTitle(text);
}

void CZorvatrailSql::OnListClick(NMHDR* header, LRESULT*)
{
    auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_LIST));
    if (list == nullptr)
        return;
    const auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
    const int row = list->HitTest(CPoint(click->ptAction.x, click->ptAction.y));
    // A click beside the rows keeps the mark but selects nothing.
    if (row < 0 || row >= int(m_rowMap.size())) {
        m_selectedIndex = -1;
        return;
    }
    m_selectedIndex = m_rowMap[size_t(row)];
    if (m_selectedIndex < int(g_ProcessTable.size()))
        ShowRecord(g_ProcessTable[size_t(m_selectedIndex)]);
    MarkSelectedRow();
}

void CZorvatrailSql::OnListCustomDraw(NMHDR* header, LRESULT* result)
{
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return;
    const bool marked = std::uintptr_t(cd->nmcd.lItemlParam) == kMarkedRow;
    cd->clrText = marked ? RGB(255, 255, 255) : RGB(0, 0, 0);
    cd->clrTextBk = marked ? RGB(0, 0, 132) : RGB(255, 255, 255);
}
