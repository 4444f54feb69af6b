#include "generators/CZorvacreate_tab2.h"

#include "app/AppState.h"
#include "generators/CZorvacreateGear.h"
#include "generators/GeneratorState.h"
#include "generators/dialog_fields.h"
#include "generators/gear_dialog_resources.h"

BEGIN_MESSAGE_MAP(CZorvacreate_tab2, CDialog)
    ON_BN_CLICKED(IDC_RACK_MODE1, OnMode1)
    ON_BN_CLICKED(IDC_RACK_MODE2, OnMode2)
    ON_CBN_SELCHANGE(IDC_MODULE, OnModuleChange)
    ON_EN_CHANGE(IDC_TEETH, OnParamChange)
    ON_EN_CHANGE(IDC_RACK_SHIFT, OnParamChange)
    ON_CBN_SELCHANGE(IDC_ALPHA, OnParamChange)
    ON_CBN_SELCHANGE(IDC_HA, OnParamChange)
    ON_CBN_SELCHANGE(IDC_C, OnParamChange)
    ON_EN_CHANGE(IDC_SIZE_TIP, OnSizeEdit)
    ON_EN_CHANGE(IDC_SIZE_ROOT, OnSizeEdit)
    ON_BN_CLICKED(IDC_RACK_TIP_ON, OnTipFillet)
    ON_BN_CLICKED(IDC_RACK_ROOT_ON, OnRootFillet)
END_MESSAGE_MAP()

CZorvacreate_tab2::CZorvacreate_tab2()
{
    RegisterGearDialogTemplates();
}

BOOL CZorvacreate_tab2::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetFieldChecked(this, IDC_RACK_MODE1, true);
    SetFieldChecked(this, IDC_RACK_MODE2, false);
    m_ready = 0;
    m_typingSizes = 0;
    return TRUE;
}

BOOL CZorvacreate_tab2::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        g_keyDownSeen = 1;
    } else if (msg->message == WM_KEYUP && msg->wParam == VK_ESCAPE && g_keyDownSeen && g_GearDialog != nullptr) {
        g_GearDialog->PressButton(IDCANCEL);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CZorvacreate_tab2::Recalculate()
{
    if (!m_ready || g_GearDialog == nullptr)
        return;
    g_GearDialog->m_paramsTouched = 1;
    g_GearDialog->GenerateRack(1);
}

void CZorvacreate_tab2::EnableSizeFields(bool typed)
{
    EnableField(this, IDC_HA, !typed);
    EnableField(this, IDC_C, !typed);
    EnableField(this, IDC_SIZE_TIP, typed);
    EnableField(this, IDC_SIZE_ROOT, typed);
}

void CZorvacreate_tab2::OnMode1()
{
    EnableSizeFields(!FieldChecked(this, IDC_RACK_MODE1));
    Recalculate();
}

void CZorvacreate_tab2::OnMode2()
{
    EnableSizeFields(FieldChecked(this, IDC_RACK_MODE2));
    Recalculate();
}

void CZorvacreate_tab2::OnModuleChange()
{
    SetFieldNumber4(this, IDC_RACK_ROOT_R, 0.38 * FieldNumber(this, IDC_MODULE));
    Recalculate();
}

void CZorvacreate_tab2::OnParamChange()
{
    Recalculate();
}

void CZorvacreate_tab2::OnSizeEdit()
{
    m_typingSizes = 1;
    Recalculate();
    m_typingSizes = 0;
}

void CZorvacreate_tab2::OnTipFillet()
{
    EnableField(this, IDC_RACK_TIP_R, FieldChecked(this, IDC_RACK_TIP_ON));
}

void CZorvacreate_tab2::OnRootFillet()
{
    EnableField(this, IDC_RACK_ROOT_R, FieldChecked(this, IDC_RACK_ROOT_ON));
}
