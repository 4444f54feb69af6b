#include "process/CZorvasystemColor.h"

#include "app/DocumentUi.h"
#include "geometry/DrawingSettings.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CColorDialog.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/field_io.h"

namespace {

constexpr unsigned IDD_COLOUR_SCHEME = 153;
constexpr int IDC_RESTORE = 1078, IDC_CHANGE = 1079;

struct SchemeItem {
    int radioId;
    const char16_t* label;
    int swatchId;
    COLORREF DrawingSettings::*colour;
    bool complemented;
};

const SchemeItem kItems[kSchemeColourCount] = {
    {1043, u"实线静态", 1060, &DrawingSettings::currentColor, false},
    {1029, u"实线活动", 1061, &DrawingSettings::activeColor, true},
    {1044, u"实线选中", 1062, &DrawingSettings::selectedColor, false},
    {1045, u"轨迹1静态", 1063, &DrawingSettings::path1Color, false},
    {1046, u"轨迹2静态", 1064, &DrawingSettings::path2Color, false},
    {1047, u"轨迹1选中", 1065, &DrawingSettings::path1SelectedColor, false},
    {1048, u"轨迹2选中", 1066, &DrawingSettings::path2SelectedColor, false},
    {1049, u"实线端点", 1067, &DrawingSettings::endPointColor, true},
    {1050, u"捕捉端点", 1068, &DrawingSettings::snapColor, true},
    {1051, u"辅助参考点", 1069, &DrawingSettings::refPointColor, true},
    {1052, u"辅助参数线", 1070, &DrawingSettings::paramLineColor, true},
    {1053, u"跳步线", 1071, &DrawingSettings::jumpLineColor, false},
    {1054, u"光标色", 1072, &DrawingSettings::cursorColor, true},
    {1055, u"尺寸标注", 1073, &DrawingSettings::dimensionColor, false},
    {1056, u"辅助引线", 1074, &DrawingSettings::leadLineColor, true},
    {1057, u"绘图坐标十字线", 1075, &DrawingSettings::axisCrossColor, false},
    {1058, u"绘图坐标中心架", 1076, &DrawingSettings::axisFrameColor, false},
    {1059, u"轨迹方向标识", 1077, &DrawingSettings::directionSignColor, false},
    {1097, u"工程标注", 1098, &DrawingSettings::annotationColor, false},
    {1239, u"绘图参考十字线", 1289, &DrawingSettings::refCrossColor, true},
};

COLORREF Complement(COLORREF c)
{
    return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}

// Two columns of ten: radio button with its label, then the swatch.
const DialogTemplateRegistrar kTemplate([] {
    using namespace dlg;
    const auto S = [](const char16_t* text) { return CString(text); };
    DlgTemplate t{IDD_COLOUR_SCHEME, S(u"颜色配置"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 236, 196, {}};
    for (int i = 0; i < kSchemeColourCount; ++i) {
        const int x = 8 + (i / 10) * 114, y = 8 + (i % 10) * 15;
        t.items.push_back(AutoRadioButton(kItems[i].radioId, S(kItems[i].label), x, y, 72, 11,
                                          i == 0 ? WS_GROUP | WS_TABSTOP : 0));
        t.items.push_back(LText(kItems[i].swatchId, CString(), x + 76, y, 30, 11, SS_SUNKEN));
    }
    for (const DlgItemTemplate& item : {
             PushButton(IDC_RESTORE, S(u"恢复默认(&R)"), 8, 172, 52, 16, WS_GROUP),
             PushButton(IDC_CHANGE, S(u"更改(&C)"), 64, 172, 52, 16),
             DefPushButton(IDOK, S(u"保存(&S)"), 120, 172, 52, 16),
             PushButton(IDCANCEL, S(u"取消"), 176, 172, 52, 16)})
        t.items.push_back(item);
    return t;
}());

} // namespace

COLORREF SchemeColourShown(int item)
{
    const COLORREF stored = g_DrawingSettings.*kItems[item].colour;
    return kItems[item].complemented ? Complement(stored) : stored;
}

void SetSchemeColourShown(int item, COLORREF shown)
{
    g_DrawingSettings.*kItems[item].colour = kItems[item].complemented ? Complement(shown) : shown;
}

BEGIN_MESSAGE_MAP(CZorvasystemColor, CDialog)
    ON_BN_CLICKED(IDC_RESTORE, OnRestoreDefaults)
    ON_BN_CLICKED(IDC_CHANGE, OnChange)
END_MESSAGE_MAP()

CZorvasystemColor::CZorvasystemColor() : CDialog(IDD_COLOUR_SCHEME) {}

void CZorvasystemColor::DoDataExchange(CDataExchange* pDX)
{
    for (int i = 0; i < kSchemeColourCount; ++i)
        DDX_Control(pDX, kItems[i].swatchId, m_swatches[i]);
}

BOOL CZorvasystemColor::OnInitDialog()
{
    CDialog::OnInitDialog();
    LoadColours();
    PaintSwatches();
    proc::SetFieldChecked(this, kItems[0].radioId, true);
    return TRUE;
}

void CZorvasystemColor::LoadColours()
{
    for (int i = 0; i < kSchemeColourCount; ++i)
        m_colours[i] = SchemeColourShown(i);
}

void CZorvasystemColor::StoreColours() const
{
    for (int i = 0; i < kSchemeColourCount; ++i)
        SetSchemeColourShown(i, m_colours[i]);
}

void CZorvasystemColor::PaintSwatches()
{
    for (int i = 0; i < kSchemeColourCount; ++i)
        m_swatches[i].SetLabelSwatch(m_colours[i]);
}

void CZorvasystemColor::ApplyToView()
{
    RecreateDrawingBrushes();
    DocUi().RedrawNow();
}

int CZorvasystemColor::SelectedItem() const
{
    for (int i = 0; i < kSchemeColourCount; ++i)
        if (proc::FieldChecked(this, kItems[i].radioId))
            return i;
    return -1;
}

void CZorvasystemColor::OnRestoreDefaults()
{
    if (ShowMessageBox(this, CString(u"恢复默认配色？"), CString(u"提示"),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    SetDefaultDrawingSettings();
    LoadColours();
    PaintSwatches();
    g_SettingsDirty = 1;
    ApplyToView();
}

void CZorvasystemColor::OnChange()
{
    CColorDialog chooser(RGB(0, 0, 0), CC_FULLOPEN, this);
    if (chooser.DoModal() != IDOK)
        return;
    const COLORREF picked = chooser.GetColor();
    LoadColours();
    const int item = SelectedItem();
    if (item >= 0)
        m_colours[item] = picked;
    PaintSwatches();
    StoreColours();
    // The colour is in use at once; before, it was lost at exit unless
    // something else had marked the settings.
    g_SettingsDirty = 1;
    ApplyToView();
}

void CZorvasystemColor::OnOK()
{
    LoadColours();
    StoreColours();
    g_SettingsDirty = 1;
    ApplyToView();
}
