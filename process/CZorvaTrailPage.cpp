#include "process/CZorvaTrailPage.h"

#include <cmath>

#include "geometry/text_utils.h"
#include "platform/ui/dialog_template.h"
#include "process/ProcessState.h"
#include "process/page_host.h"
#include "process/CZorvatrailSql.h"
#include "process/path_fields.h"
#include "process/tab_pages.h"

using namespace trailpage;

namespace {

constexpr unsigned IDD_NORMAL = 148, IDD_TAPER = 149, IDD_PROFILES = 150, IDD_VAR_TAPER = 183, IDD_INCLINE = 255;
constexpr int kPageWidth = 236, kPageHeight = 82;   // dialog units
// The multi-pass dialog's taper page leaves room for its picture's edge.
constexpr int kShiftedTaperField = 23;              // pixels

void RegisterTemplates()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        const unsigned page = WS_CHILD;
        RegisterDialogTemplate({IDD_NORMAL, CString(), page, kPageWidth, kPageHeight, {
            LText(-1, S(u"常规切割： 单XY轴移动常规切割加工。"), 8, 8, 224, 10),
            LText(-1, S(u"<过切量>闭形工件割断后再切割的距离。\n\n<工件厚度>锥度切割角度计算必须精确。"), 8, 26, 224, 40),
        }});
        RegisterDialogTemplate({IDD_TAPER, CString(), page, kPageWidth, kPageHeight, {
            LText(IDC_TAPER_LABEL, S(u"锥度角度"), 8, 8, 40, 10),
            EditText(IDC_TAPER_ANGLE, 50, 6, 50, 12),
            LText(IDC_TAPER_UNIT, S(u"(度)"), 104, 8, 24, 10),
            LText(-1, S(u"(正数下表面XY大，上表面UV小，负数相反)"), 8, 22, 224, 10),
            AutoCheckBox(IDC_TAPER_FIXED_RADIUS, S(u"相切的圆弧转角为固定半径模式"), 8, 36, 224, 10),
            AutoCheckBox(IDC_TAPER_INVERTED, S(u"倒锥模式(下表面小，上表面大)"), 8, 50, 224, 10),
            AutoCheckBox(IDC_TAPER_INCLINE, S(u"使用斜顶参数（在斜顶栏设置）"), 8, 64, 224, 10),
        }});
        RegisterDialogTemplate({IDD_PROFILES, CString(), page, kPageWidth, kPageHeight, {
            AutoRadioButton(IDC_SYNC_BY_LENGTH, S(u"按长度同步"), 8, 8, 80, 10, WS_GROUP | WS_TABSTOP),
            AutoRadioButton(IDC_SYNC_BY_CENTRE, S(u"中心区间同步"), 96, 8, 90, 10),
            AutoCheckBox(IDC_PROFILE_NO_MERGE, S(u"上下表面以图形当前为穿丝点，不合并"), 8, 26, 224, 10, WS_GROUP),
            AutoCheckBox(IDC_PROFILE_INCLINE, S(u"使用斜顶参数（包括上参数在斜顶栏设置）"), 8, 42, 224, 10),
        }});
        RegisterDialogTemplate({IDD_VAR_TAPER, CString(), page, kPageWidth, kPageHeight, {
            LText(-1, S(u"变锥切割--选择对象输入相应的+-角度。"), 8, 8, 224, 10),
            AutoCheckBox(IDC_VAR_TAPER_INCLINE, S(u"使用斜顶参数（在斜顶栏设置）"), 8, 26, 224, 10),
        }});
        RegisterDialogTemplate({IDD_INCLINE, CString(), page, kPageWidth, kPageHeight, {
            LText(-1, S(u"X轴方向角度"), 8, 8, 52, 10),
            EditText(IDC_INCLINE_X, 62, 6, 50, 12),
            LText(IDC_INCLINE_UNIT_X, S(u"(度)"), 116, 8, 30, 10),
            LText(-1, S(u"Y轴方向角度"), 8, 24, 52, 10),
            EditText(IDC_INCLINE_Y, 62, 22, 50, 12),
            LText(IDC_INCLINE_UNIT_Y, S(u"(度)"), 116, 24, 30, 10),
            AutoCheckBox(IDC_INCLINE_SWAP, S(u"上下表面反转"), 8, 42, 100, 10),
            AutoCheckBox(IDC_INCLINE_ENTRY_FIRST, S(u"先走斜刀切入"), 120, 42, 100, 10),
            AutoCheckBox(IDC_INCLINE_DISTANCES, S(u"改为距离参数"), 8, 58, 100, 10),
            AutoCheckBox(IDC_INCLINE_PAUSE, S(u"斜刀完成暂停"), 120, 58, 100, 10),
        }});
        return true;
    }();
    (void)registered;
}

} // namespace

CZorvaTrailPage::CZorvaTrailPage(unsigned templateId) : CDialog(templateId)
{
    RegisterTemplates();
}

bool CZorvaTrailPage::CreateIn(CWnd* tab)
{
    if (!Create(m_templateId, tab))
        return false;
    PlaceInTab(tab, this);
    ShowWindow(SW_HIDE);
    return true;
}

// A page leaves the focus where its dialog put it.
BOOL CZorvaTrailPage::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CZorvaTrailPage::OnOK()
{
    PressHostDefault(this);
}

void CZorvaTrailPage::OnCancel()
{
    PressHostCancel(this);
}

CZorvaTrailTab1::CZorvaTrailTab1() : CZorvaTrailPage(IDD_NORMAL) {}
CZorvaTrailTab4::CZorvaTrailTab4() : CZorvaTrailPage(IDD_VAR_TAPER) {}

// --- taper ---

BEGIN_MESSAGE_MAP(CZorvaTrailTab2, CZorvaTrailPage)
    ON_EN_CHANGE(IDC_TAPER_ANGLE, OnAngleChange)
END_MESSAGE_MAP()

CZorvaTrailTab2::CZorvaTrailTab2() : CZorvaTrailPage(IDD_TAPER) {}

BOOL CZorvaTrailTab2::OnInitDialog()
{
    CZorvaTrailPage::OnInitDialog();
    if (g_TaperPageShifted == 1)
        for (int id : {IDC_TAPER_LABEL, IDC_TAPER_UNIT, IDC_TAPER_ANGLE})
            MoveBy(GetDlgItem(id), kShiftedTaperField, 0);
    return TRUE;
}

HBRUSH CZorvaTrailTab2::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (HBRUSH brush = ProcessEditColours(dc, kind))
        return brush;
    return CDialog::OnCtlColor(dc, wnd, kind);
}

void CZorvaTrailTab2::ShowAngle(double degrees)
{
    m_accepted = FormatNumber4(degrees);
    m_guard = 1;
    SetDlgItemText(IDC_TAPER_ANGLE, m_accepted);
    m_guard = 0;
}

// Before, each change was written into the settings at once, so a Cancel
// kept a half-typed angle.
void CZorvaTrailTab2::OnAngleChange()
{
    if (m_guard)
        return;
    const CString text = TrimString(pathdlg::Text(this, IDC_TAPER_ANGLE));
    if (IsNumberText(text) && std::fabs(TextToDouble(text)) < kTaperLimit) {
        m_accepted = text;
        return;
    }
    if (pathdlg::Text(this, IDC_TAPER_ANGLE) == m_accepted)
        return;
    m_guard = 1;
    SetDlgItemText(IDC_TAPER_ANGLE, m_accepted);
    m_guard = 0;
}

// --- two profiles ---

BEGIN_MESSAGE_MAP(CZorvaTrailTab3, CZorvaTrailPage)
    ON_BN_CLICKED(IDC_PROFILE_NO_MERGE, OnNoMergeClicked)
    ON_BN_CLICKED(IDC_PROFILE_INCLINE, OnInclineClicked)
END_MESSAGE_MAP()

CZorvaTrailTab3::CZorvaTrailTab3() : CZorvaTrailPage(IDD_PROFILES) {}

void CZorvaTrailTab3::OnNoMergeClicked()
{
    if (pathdlg::Checked(this, IDC_PROFILE_NO_MERGE))
        pathdlg::SetChecked(this, IDC_PROFILE_INCLINE, false);
}

void CZorvaTrailTab3::OnInclineClicked()
{
    if (pathdlg::Checked(this, IDC_PROFILE_INCLINE))
        pathdlg::SetChecked(this, IDC_PROFILE_NO_MERGE, false);
}

// --- inclined top ---

BEGIN_MESSAGE_MAP(CZorvaTrailTab5, CZorvaTrailPage)
    ON_BN_CLICKED(IDC_INCLINE_DISTANCES, ShowUnits)
END_MESSAGE_MAP()

CZorvaTrailTab5::CZorvaTrailTab5() : CZorvaTrailPage(IDD_INCLINE) {}

void CZorvaTrailTab5::ShowUnits()
{
    const char16_t* unit = pathdlg::Checked(this, IDC_INCLINE_DISTANCES) ? u"(mm)" : u"(度)";
    pathdlg::SetText(this, IDC_INCLINE_UNIT_X, unit);
    pathdlg::SetText(this, IDC_INCLINE_UNIT_Y, unit);
}
