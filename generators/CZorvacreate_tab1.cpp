#include "generators/CZorvacreate_tab1.h"

#include "app/AppState.h"
#include "generators/CZorvacreateGear.h"
#include "generators/GeneratorState.h"
#include "generators/dialog_fields.h"
#include "generators/gear_dialog_resources.h"

BEGIN_MESSAGE_MAP(CZorvacreate_tab1, CDialog)
    ON_BN_CLICKED(IDC_GEAR_BYCOUNT, OnByCount)
    ON_BN_CLICKED(IDC_GEAR_TIP_ON, OnTipFillet)
    ON_BN_CLICKED(IDC_GEAR_ROOT_ON, OnRootFillet)
    ON_CBN_SELCHANGE(IDC_MODULE, OnModuleChange)
    ON_EN_CHANGE(IDC_TEETH, OnParamChange)
    ON_EN_CHANGE(IDC_GEAR_SHIFT, OnParamChange)
    ON_CBN_SELCHANGE(IDC_ALPHA, OnParamChange)
    ON_CBN_SELCHANGE(IDC_HA, OnParamChange)
    ON_CBN_SELCHANGE(IDC_C, OnParamChange)
    ON_BN_CLICKED(IDC_GEAR_EXTERNAL, OnParamChange)
    ON_BN_CLICKED(IDC_GEAR_INTERNAL, OnParamChange)
    ON_BN_CLICKED(IDC_GEAR_MODE1, OnMode1)
    ON_BN_CLICKED(IDC_GEAR_MODE2, OnMode2)
    ON_EN_CHANGE(IDC_SIZE_TIP, OnSizeEdit)
    ON_EN_CHANGE(IDC_SIZE_ROOT, OnSizeEdit)
END_MESSAGE_MAP()

CZorvacreate_tab1::CZorvacreate_tab1()
{
    RegisterGearDialogTemplates();
}

BOOL CZorvacreate_tab1::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_GEAR_MODE1, IDC_GEAR_MODE2, IDC_GEAR_MODE1);
    m_ready = 0;
    m_typingSizes = 0;
    return TRUE;
}

// Esc cancels the whole gear dialog, on its release after a press was seen.
BOOL CZorvacreate_tab1::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && msg->wParam == VK_ESCAPE && g_keyDownSeen && g_GearDialog != nullptr) {
        g_GearDialog->PressButton(IDCANCEL);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CZorvacreate_tab1::OnByCount()
{
    const bool on = FieldChecked(this, IDC_GEAR_BYCOUNT);
    EnableField(this, IDC_GEAR_START, on);
    EnableField(this, IDC_GEAR_COUNT, on);
}

void CZorvacreate_tab1::OnTipFillet()
{
    EnableField(this, IDC_GEAR_TIP_R, FieldChecked(this, IDC_GEAR_TIP_ON));
}

void CZorvacreate_tab1::OnRootFillet()
{
    EnableField(this, IDC_GEAR_ROOT_R, FieldChecked(this, IDC_GEAR_ROOT_ON));
}

void CZorvacreate_tab1::OnModuleChange()
{
    SetFieldNumber4(this, IDC_GEAR_ROOT_R, 0.38 * FieldNumber(this, IDC_MODULE));
    if (m_ready)
        RecalcGearSizes();
}

void CZorvacreate_tab1::OnParamChange()
{
    if (m_ready)
        RecalcGearSizes();
}

void CZorvacreate_tab1::EnableSizeFields(bool typed)
{
    EnableField(this, IDC_HA, !typed);
    EnableField(this, IDC_C, !typed);
    EnableField(this, IDC_SIZE_TIP, typed);
    EnableField(this, IDC_SIZE_ROOT, typed);
}

void CZorvacreate_tab1::OnMode1()
{
    EnableSizeFields(!FieldChecked(this, IDC_GEAR_MODE1));
    if (m_ready)
        RecalcGearSizes();
}

void CZorvacreate_tab1::OnMode2()
{
    EnableSizeFields(FieldChecked(this, IDC_GEAR_MODE2));
    if (m_ready)
        RecalcGearSizes();
}

void CZorvacreate_tab1::OnSizeEdit()
{
    if (!m_ready || g_GearDialog == nullptr)
        return;
    m_typingSizes = 1;
    g_GearDialog->Generate(0, 1);
    m_typingSizes = 0;
}
