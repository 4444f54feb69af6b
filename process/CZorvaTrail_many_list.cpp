// The per-cut list of the multi-pass dialog: its columns by coding version,
// the pass count, the per-cut dialog on a double click, and a record taken
// from the process table.

#include "process/CZorvaTrail_many.h"

#include <algorithm>
#include <span>

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/message_box.h"
#include "process/CZorvasql_cutcount.h"
#include "process/CZorvatrailSql.h"
#include "process/ProcessState.h"
#include "process/multipass_ids.h"
#include "process/path_fields.h"

using namespace multipass;

namespace {

// What a column shows of a cut.
enum class Column : std::uint8_t {
    step, allowance, track, speed, pulseWidth, pulseInterval, groupWidth, groupInterval,
    groupPulse, stepPulse, repeatTime, wireSpeed,
    hlTubes, hlWireSpeed, hlVoltage, groupNumber, class2Choice0, class2Choice1, class2Choice2, class2Choice3,
    state0, state1, state2, state3, state4,
};

struct ColumnDef {
    const char16_t* heading;
    Column what;
};

using C = Column;
const ColumnDef kFastWire[] = {{u"步次", C::step}, {u"余量mm", C::allowance}, {u"跟踪", C::track}, {u"限速", C::speed}};
const ColumnDef kMidWireHl[] = {
    {u"步次", C::step}, {u"余量mm", C::allowance}, {u"脉宽us", C::pulseWidth}, {u"脉间距", C::pulseInterval},
    {u"分组脉宽", C::groupWidth}, {u"分组间距", C::groupInterval}, {u"功放", C::hlTubes},
    {u"丝速", C::hlWireSpeed}, {u"电压", C::hlVoltage}, {u"跟踪", C::track}, {u"限速", C::speed}};
const ColumnDef kHfGroup[] = {
    {u"步次", C::step}, {u"余量mm", C::allowance}, {u"组号", C::groupNumber}, {u"跟踪", C::track}, {u"限速", C::speed}};
const ColumnDef kHfClass2[] = {
    {u"步次", C::step}, {u"余量mm", C::allowance}, {u"脉宽", C::class2Choice0}, {u"脉冲间距", C::class2Choice1},
    {u"高频功率", C::class2Choice2}, {u"变频器值", C::class2Choice3}, {u"跟踪", C::track}, {u"限速", C::speed}};
const ColumnDef kHfClass4[] = {
    {u"步次", C::step}, {u"余量mm", C::allowance}, {u"脉宽", C::pulseWidth}, {u"脉冲间距", C::pulseInterval},
    {u"电流", C::groupWidth}, {u"电压", C::groupInterval}, {u"高压状态", C::state0}, {u"分组脉冲", C::groupPulse},
    {u"分组状态", C::state1}, {u"阶梯脉冲", C::stepPulse}, {u"阶梯状态", C::state2}, {u"反复时间", C::repeatTime},
    {u"反复状态", C::state3}, {u"单向状态", C::state4}, {u"运丝速度", C::wireSpeed}, {u"跟踪", C::track},
    {u"限速", C::speed}};

std::span<const ColumnDef> ColumnsFor(std::uint8_t codingMode)
{
    switch (KnownCodingMode(codingMode)) {
    case kCodingMidWireHl: return kMidWireHl;
    case kCodingHfGroup: return kHfGroup;
    case kCodingHfClass2: return kHfClass2;
    case kCodingHfClass4: return kHfClass4;
    default: return kFastWire;
    }
}

// A choice shown within its range, else as 0.
int Choice(const CutParams& cut, int slot, int max)
{
    return cut.choice[slot] > max ? 0 : cut.choice[slot];
}

CString CellText(Column what, int step, const CutParams& cut)
{
    CString s;
    const auto number = [&s](int v) { s.Format(u"%d", v); };
    const auto state = [&cut](int slot) { return CString(cut.choice[slot] == 1 ? u"开" : u"关"); };
    switch (what) {
    case C::step: number(step); break;
    case C::allowance: s.Format(u"%.3f", cut.allowance); break;
    case C::track: s.Format(u"%.1f", cut.trackValueX10 / 10.0); break;
    case C::speed: number(cut.speedLimit); break;
    case C::pulseWidth: number(cut.pulseWidth); break;
    case C::pulseInterval: number(cut.pulseInterval); break;
    case C::groupWidth: number(cut.groupWidthOrCurrent); break;
    case C::groupInterval: number(cut.groupIntervalOrVoltage); break;
    case C::groupPulse: number(cut.groupPulse); break;
    case C::stepPulse: number(cut.stepPulse); break;
    case C::repeatTime: number(cut.repeatTime); break;
    case C::wireSpeed: number(cut.wireSpeed); break;
    case C::hlTubes: number(Choice(cut, 0, 14) + 1); break;
    case C::hlWireSpeed: number(Choice(cut, 1, 7)); break;
    case C::hlVoltage: s = cut.choice[2] == 1 ? u"高压" : u"低压"; break;
    case C::groupNumber: number(Choice(cut, 0, 7)); break;
    case C::class2Choice0: number(Choice(cut, 0, 15)); break;
    case C::class2Choice1: number(Choice(cut, 1, 15)); break;
    case C::class2Choice2: number(Choice(cut, 2, 15)); break;
    case C::class2Choice3: number(Choice(cut, 3, 15)); break;
    case C::state0: s = state(0); break;
    case C::state1: s = state(1); break;
    case C::state2: s = state(2); break;
    case C::state3: s = state(3); break;
    case C::state4: s = state(4); break;
    }
    return s;
}

// Wide enough for the heading and the values under it.
int ColumnWidth(const CString& heading)
{
    constexpr int kPerCharacter = 14, kPadding = 16, kNarrowest = 46;
    return std::max(kNarrowest, heading.GetLength() * kPerCharacter + kPadding);
}

// Allowances a new pass count starts from: the rough cut leaves room for
// the skims, the last cut none.
void PresetAllowances(CutParams* cuts, int count)
{
    static const double kTwoCuts[2] = {0.03, 0.0};
    static const double kMoreCuts[2] = {0.06, 0.02};
    for (int k = 0; k < kMaxPasses; ++k) {
        if (count == 2 && k < 2)
            cuts[k].allowance = kTwoCuts[k];
        else if (count >= 3 && k < 2)
            cuts[k].allowance = kMoreCuts[k];
        else
            cuts[k].allowance = 0.0;
    }
}

CListCtrl* PassList(const CWnd* dialog)
{
    return dynamic_cast<CListCtrl*>(dialog->GetDlgItem(IDC_PASS_LIST));
}

} // namespace

void CZorvaTrail_many::FillPassList(int count, const CutParams* cuts)
{
    CListCtrl* list = PassList(this);
    if (list == nullptr)
        return;
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    const auto columns = ColumnsFor(g_MachiningSettings.codingMode);
    for (int c = 0; c < int(columns.size()); ++c) {
        const CString heading(columns[size_t(c)].heading);
        list->InsertColumn(c, heading, LVCFMT_LEFT, ColumnWidth(heading));
    }
    count = std::min(count, kMaxPasses);
    for (int k = 0; k < count; ++k) {
        list->InsertItem(k, CellText(columns[0].what, k + 1, cuts[k]));
        for (int c = 1; c < int(columns.size()); ++c)
            list->SetItemText(k, c, CellText(columns[size_t(c)].what, k + 1, cuts[k]));
    }
    SetRowValues(-1);
}

// Rows below the pass count are normal, the others greyed; highlighted is
// the row the per-cut dialog edits (-1 none).
void CZorvaTrail_many::SetRowValues(int highlighted)
{
    CListCtrl* list = PassList(this);
    const int count = g_MachiningSettings.passCount;
    for (int k = 0; list != nullptr && k < list->GetItemCount(); ++k)
        list->SetItemData(k, k == highlighted ? kRowHighlighted : k < count ? kRowNormal : kRowBeyondCount);
    if (list != nullptr)
        list->Invalidate();
}

void CZorvaTrail_many::OnPassCountChange()
{
    MachiningSettings& m = g_MachiningSettings;
    const int index = pathdlg::ComboIndex(this, IDC_PASS_COUNT);
    m.passCount = index < 0 ? 1 : std::min(index + 1, kMaxPasses);
    PresetAllowances(m.passCuts, m.passCount);
    CopyCutsToVersionTable();
    MarkLiveChange();
    FillPassList(m.passCount, m.passCuts);
}

int CZorvaTrail_many::HitRow(NMHDR* header) const
{
    const auto* nm = reinterpret_cast<const NMITEMACTIVATE*>(header);
    const CListCtrl* list = PassList(this);
    if (list == nullptr)
        return -1;
    const int row = list->HitTest(CPoint(nm->ptAction.x, nm->ptAction.y));
    return row >= 0 && row < kMaxPasses && row < list->GetItemCount() ? row : -1;
}

void CZorvaTrail_many::OnListClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    SetRowValues(-1);
}

void CZorvaTrail_many::OnListDoubleClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const int row = HitRow(header);
    if (row < 0)
        return;
    g_SelectedPassRow = row;
    SetRowValues(row);
    CZorvasql_cutcount cut;
    if (cut.DoModal() == IDOK) {
        MarkLiveChange();
        FillPassList(g_MachiningSettings.passCount, g_MachiningSettings.passCuts);
        CopyCutsToVersionTable();
    }
    g_keyDownSeen = 0;
    SetRowValues(row);
}

void CZorvaTrail_many::OnListCustomDraw(NMHDR* header, LRESULT* result)
{
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return;
    switch (cd->nmcd.lItemlParam) {
    case kRowHighlighted:
        cd->clrText = RGB(255, 255, 255);
        cd->clrTextBk = RGB(0, 0, 132);
        break;
    case kRowBeyondCount:
        cd->clrText = RGB(230, 230, 230);
        cd->clrTextBk = RGB(255, 255, 255);
        break;
    default:
        cd->clrText = RGB(0, 0, 0);
        cd->clrTextBk = RGB(255, 255, 255);
        break;
    }
}

// The fields are stored first, so what was typed survives the table; they
// stay stored (and marked changed) when the dialog is then cancelled. A
// picked record brings its compensation, thickness and cuts; the first two
// reach the settings at OK.
void CZorvaTrail_many::OnToDatabase()
{
    StoreSettings();
    if (m_opened.Changed())
        MarkLiveChange();
    if (PickProcessRecord()) {
        const trail_sql_t& record = g_ProcessTable[size_t(g_SelectedProcessIndex)];
        MachiningSettings& m = g_MachiningSettings;
        pathdlg::SetNumber4(this, IDC_COMPENSATION, record.compensation);
        pathdlg::SetNumber4(this, IDC_THICKNESS, record.thickness);
        m.passCount = std::clamp(record.cutCount, 1, kMaxPasses);
        pathdlg::SelectCombo(this, IDC_PASS_COUNT, m.passCount - 1);
        std::copy(std::begin(record.cuts), std::end(record.cuts), m.passCuts);
        CopyCutsToVersionTable();
        MarkLiveChange();
        FillPassList(m.passCount, m.passCuts);
    }
    g_keyDownSeen = 0;
}
