#include "process/cut_page_fields.h"

#include <algorithm>

#include "app/MachiningSettings.h"
#include "geometry/text_utils.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/dialog_template.h"
#include "process/path_fields.h"

namespace {

constexpr std::uint32_t kByte = 255, kWord = 65535;
using F = CutField;
using I = ComboItems;

const CutPageField kFastWire[] = {
    {1015, u"余量(mm)", F::allowance, 0},
    {1016, u"跟踪数值", F::track, 0},
    {1017, u"加工限速", F::speedLimit, kWord},
};

const CutPageField kMidWireHl[] = {
    {1015, u"余量(mm)", F::allowance, 0},
    {1016, u"脉宽(us)", F::pulseWidth, kWord},
    {1017, u"脉冲间距", F::pulseInterval, kByte},
    {1096, u"分组脉宽", F::groupWidthOrCurrent, kByte, 0, I::none, 0, false},
    {1099, u"分组间距", F::groupIntervalOrVoltage, kByte, 0, I::none, 0, false},
    {1012, u"功放管数", F::choice, 14, 0, I::numbers, 1},
    {1104, u"运丝速度", F::choice, 7, 1, I::numbers, 0},
    {1105, u"加工电压", F::choice, 1, 2, I::lowHigh},
    {1103, u"跟踪数值", F::track, 0},
    {1106, u"加工限速", F::speedLimit, kWord},
};

const CutPageField kHfGroup[] = {
    {1015, u"余量(mm)", F::allowance, 0},
    {1012, u"组号", F::choice, 7, 0, I::numbers, 0},
    {1016, u"跟踪数值", F::track, 0},
    {1017, u"加工限速", F::speedLimit, kWord},
};

const CutPageField kHfClass2[] = {
    {1015, u"余量(mm)", F::allowance, 0},
    {1012, u"脉宽(us)", F::choice, 15, 0, I::numbers, 0},
    {1104, u"脉冲间距", F::choice, 15, 1, I::numbers, 0},
    {1105, u"高频功率", F::choice, 15, 2, I::numbers, 0},
    {1114, u"变频器值", F::choice, 15, 3, I::numbers, 0},
    {1016, u"跟踪数值", F::track, 0},
    {1017, u"加工限速", F::speedLimit, kWord},
};

const CutPageField kHfClass4[] = {
    {1015, u"余量(mm)", F::allowance, 0},
    {1016, u"脉宽(us)", F::pulseWidth, kByte},
    {1017, u"脉冲间距", F::pulseInterval, kByte},
    {1096, u"电流", F::groupWidthOrCurrent, kByte},
    {1099, u"电压", F::groupIntervalOrVoltage, kByte},
    {1104, u"高压状态", F::choice, 1, 0, I::offOn},
    {1106, u"分组脉冲", F::groupPulse, kByte},
    {1105, u"分组状态", F::choice, 1, 1, I::offOn},
    {1110, u"阶梯脉冲", F::stepPulse, kByte},
    {1114, u"阶梯状态", F::choice, 1, 2, I::offOn},
    {1111, u"反复时间", F::repeatTime, kByte},
    {1115, u"反复状态", F::choice, 1, 3, I::offOn},
    {1116, u"单向状态", F::choice, 1, 4, I::offOn},
    {1112, u"运丝速度", F::wireSpeed, kByte},
    {1113, u"跟踪数值", F::track, 0},
    {1117, u"加工限速", F::speedLimit, kWord},
};

const CutPageLayout kLayouts[] = {
    {1234, kCodingFastWire, 2, kFastWire},
    {1235, kCodingMidWireHl, 3, kMidWireHl},
    {1236, kCodingHfGroup, 2, kHfGroup},
    {1237, kCodingHfClass2, 2, kHfClass2},
    {1238, kCodingHfClass4, 4, kHfClass4},
};

// Page geometry, dialog units: a field is a label and its control; fields
// run left to right in the page's columns under the caption line.
constexpr int kMargin = 6, kLabelWidth = 40, kControlWidth = 38, kColumnPitch = 88;
constexpr int kFirstRow = 18, kRowPitch = 16;

DlgTemplate PageTemplate(const CutPageLayout& layout)
{
    using namespace dlg;
    const int rows = (int(layout.fields.size()) + layout.columns - 1) / layout.columns;
    DlgTemplate t{layout.templateId, CString(), WS_CHILD, kMargin + layout.columns * kColumnPitch,
                  kFirstRow + rows * kRowPitch + 2, {}};
    t.items.push_back(LText(IDC_CUT_PAGE_CAPTION, CString(u"--"), kMargin, 4, 120, 10));
    for (int k = 0; k < int(layout.fields.size()); ++k) {
        const CutPageField& f = layout.fields[size_t(k)];
        const int x = kMargin + (k % layout.columns) * kColumnPitch;
        const int y = kFirstRow + (k / layout.columns) * kRowPitch;
        t.items.push_back(LText(-1, CString(f.label), x, y + 2, kLabelWidth, 10));
        if (f.items == ComboItems::none)
            t.items.push_back(EditText(f.id, x + kLabelWidth, y, kControlWidth, 12));
        else
            t.items.push_back(ComboBox(f.id, x + kLabelWidth, y, kControlWidth, 120, CBS_DROPDOWNLIST | WS_VSCROLL));
    }
    return t;
}

std::uint16_t& WordField(CutParams& cut, CutField field)
{
    switch (field) {
    case F::pulseWidth: return cut.pulseWidth;
    case F::groupPulse: return cut.groupPulse;
    case F::stepPulse: return cut.stepPulse;
    case F::repeatTime: return cut.repeatTime;
    case F::wireSpeed: return cut.wireSpeed;
    default: return cut.speedLimit;
    }
}

bool IsByteField(CutField field)
{
    return field == F::pulseInterval || field == F::groupWidthOrCurrent || field == F::groupIntervalOrVoltage;
}

std::uint8_t& ByteField(CutParams& cut, CutField field)
{
    switch (field) {
    case F::pulseInterval: return cut.pulseInterval;
    case F::groupWidthOrCurrent: return cut.groupWidthOrCurrent;
    default: return cut.groupIntervalOrVoltage;
    }
}

std::uint32_t IntegerValue(CutParams cut, CutField field)
{
    return IsByteField(field) ? ByteField(cut, field) : WordField(cut, field);
}

void StoreInteger(CutParams& cut, CutField field, std::uint32_t value)
{
    if (IsByteField(field))
        ByteField(cut, field) = std::uint8_t(std::min<std::uint32_t>(value, 255));
    else
        WordField(cut, field) = std::uint16_t(std::min<std::uint32_t>(value, 65535));
}

void FillPageCombos(CWnd* page, const CutPageLayout& layout)
{
    constexpr int kDropExtra = 100;
    for (const CutPageField& f : layout.fields) {
        switch (f.items) {
        case ComboItems::numbers:
            pathdlg::FillComboNumbers(page, f.id, f.firstNumber, f.firstNumber + int(f.limit), kDropExtra);
            break;
        case ComboItems::lowHigh:
            pathdlg::FillCombo(page, f.id, {u"低压", u"高压"}, kDropExtra);
            break;
        case ComboItems::offOn:
            pathdlg::FillCombo(page, f.id, {u"关", u"开"}, kDropExtra);
            break;
        case ComboItems::none:
            break;
        }
    }
}

} // namespace

const CutPageLayout& CutPageFor(std::uint8_t codingMode)
{
    const std::uint8_t known = KnownCodingMode(codingMode);
    for (const CutPageLayout& layout : kLayouts)
        if (layout.codingMode == known)
            return layout;
    return kLayouts[0];
}

void RegisterCutPageTemplates()
{
    static const bool registered = [] {
        for (const CutPageLayout& layout : kLayouts)
            RegisterDialogTemplate(PageTemplate(layout));
        return true;
    }();
    (void)registered;
}

void FillCutPageCombos(CWnd* page, const CutPageLayout& layout)
{
    FillPageCombos(page, layout);
}

void ShowCutOnPage(CWnd* page, const CutPageLayout& layout, const CutParams& cut, bool singlePass)
{
    for (const CutPageField& f : layout.fields) {
        CString text;
        switch (f.field) {
        case F::allowance:
            text = singlePass ? CString(u"0.0") : FormatNumber4(cut.allowance);
            break;
        case F::track:
            text.Format(u"%.1f", cut.trackValueX10 / 10.0);
            break;
        case F::choice:
            pathdlg::SelectCombo(page, f.id, cut.choice[f.choice] > f.limit ? 0 : cut.choice[f.choice]);
            continue;
        default:
            if (singlePass && !f.singlePass)
                break;
            text.Format(u"%u", unsigned(IntegerValue(cut, f.field)));
            break;
        }
        page->SetDlgItemText(f.id, text);
    }
}

void ReadCutFromPage(const CWnd* page, const CutPageLayout& layout, CutParams& cut, bool singlePass)
{
    for (const CutPageField& f : layout.fields) {
        if (singlePass && !f.singlePass)
            continue;
        const double typed = pathdlg::Number(page, f.id);
        switch (f.field) {
        case F::allowance:
            if (!singlePass)
                cut.allowance = typed;
            break;
        case F::track:
            cut.trackValueX10 = pathdlg::TrackFromTyped(typed);
            break;
        case F::choice: {
            const std::uint8_t index = pathdlg::ChoiceFromIndex(pathdlg::ComboIndex(page, f.id));
            cut.choice[f.choice] = index > f.limit ? 0 : index;
            break;
        }
        default:
            StoreInteger(cut, f.field, pathdlg::AbsoluteAtMost(typed, f.limit));
            break;
        }
    }
}
