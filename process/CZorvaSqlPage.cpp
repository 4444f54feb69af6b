#include "process/CZorvaSqlPage.h"

#include <cmath>

#include "app/MachiningSettings.h"
#include "process/ProcessState.h"
#include "process/page_host.h"
#include "process/CZorvatrailSql.h"
#include "process/path_fields.h"

namespace {

constexpr int IDC_HL_PULSE_INTERVAL = 1017;

} // namespace

BEGIN_MESSAGE_MAP(CZorvaSqlPage, CDialog)
    ON_EN_CHANGE(IDC_HL_PULSE_INTERVAL, OnPulseIntervalChange)
END_MESSAGE_MAP()

CZorvaSqlPage::CZorvaSqlPage(std::uint8_t codingMode)
    : CDialog(CutPageFor(codingMode).templateId), m_layout(CutPageFor(codingMode))
{
    RegisterCutPageTemplates();
}

bool CZorvaSqlPage::CreateIn(CWnd* host)
{
    if (!Create(m_layout.templateId, host))
        return false;
    ShowWindow(SW_HIDE);
    return true;
}

BOOL CZorvaSqlPage::OnInitDialog()
{
    // A page leaves the focus where its dialog put it.
    UpdateData(FALSE);
    // Only the per-cut dialog edits an allowance: a single pass cuts to size.
    if (g_pCutCountDlg == nullptr)
        pathdlg::Enable(this, IDC_CUT_ALLOWANCE, false);
    FillCutPageCombos(this, m_layout);
    return TRUE;
}

void CZorvaSqlPage::OnOK()
{
    PressHostDefault(this);
}

void CZorvaSqlPage::OnCancel()
{
    PressHostCancel(this);
}

HBRUSH CZorvaSqlPage::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (HBRUSH brush = ProcessEditColours(dc, kind))
        return brush;
    return CDialog::OnCtlColor(dc, wnd, kind);
}

// The interval of the HL generator is one byte: a larger typed value shows
// as 255 at once.
void CZorvaSqlPage::OnPulseIntervalChange()
{
    if (m_layout.codingMode != kCodingMidWireHl || m_guard)
        return;
    const double typed = std::trunc(pathdlg::Number(this, IDC_HL_PULSE_INTERVAL));
    if (std::fabs(typed) <= 255.0)
        return;
    m_guard = 1;
    pathdlg::SetText(this, IDC_HL_PULSE_INTERVAL, u"255");
    m_guard = 0;
}
