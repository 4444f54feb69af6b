#include "process/cut_mode_pages.h"

#include <cmath>
#include <cstring>

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/message_box.h"
#include "process/path_fields.h"

using namespace trailpage;

namespace {

constexpr int kCutModeCount = 5;

ViewBlock CurrentViewBlock()
{
    return ViewBlock{g_CutTypeIndex, g_ViewBlockReserved, g_ViewScale, g_ViewOriginX, g_ViewOriginY};
}

} // namespace

void FillCutTypeCombo(CWnd* dialog, int id)
{
    pathdlg::FillCombo(dialog, id, {u"常规切割", u"锥度切割", u"异形件切割", u"变锥切割", u"斜顶切割"}, 100);
}

void CutModePages::Create(CWnd* tab, int tabItems)
{
    m_tab = tab;
    auto* t = dynamic_cast<CTabCtrl*>(tab);
    if (t == nullptr)
        return;
    const char16_t* const names[kCutModeCount] = {u"普通切割", u"锥度切割", u"异形切割", u"变锥切割", u"斜顶切割"};
    for (int k = 0; k < kCutModeCount && k < tabItems; ++k)
        t->InsertItem(k, CString(names[k]));
    for (CZorvaTrailPage* page : {static_cast<CZorvaTrailPage*>(&normal), static_cast<CZorvaTrailPage*>(&taper),
                                  static_cast<CZorvaTrailPage*>(&profiles), static_cast<CZorvaTrailPage*>(&varTaper),
                                  static_cast<CZorvaTrailPage*>(&incline)})
        page->CreateIn(tab);
    ShowMode(0);
}

void CutModePages::ShowMode(int index)
{
    if (index < 0 || index >= kCutModeCount)
        return;
    CZorvaTrailPage* pages[kCutModeCount] = {&normal, &taper, &profiles, &varTaper, &incline};
    for (int k = 0; k < kCutModeCount; ++k)
        pages[k]->ShowWindow(k == index ? SW_SHOW : SW_HIDE);
    // A page past the tab's items leaves the item shown before selected.
    if (auto* t = dynamic_cast<CTabCtrl*>(m_tab); t != nullptr && index < t->GetItemCount())
        t->SetCurSel(index);
}

void CutModePages::Fill(const MachiningSettings& m)
{
    taper.ShowAngle(m.taperAngle);
    pathdlg::SetChecked(&taper, IDC_TAPER_FIXED_RADIUS, m.fixedRadiusCorners != 0);
    pathdlg::SetChecked(&taper, IDC_TAPER_INVERTED, m.invertedTaper != 0);
    pathdlg::SetChecked(&taper, IDC_TAPER_INCLINE, m.taperUsesIncline != 0);
    pathdlg::SetChecked(&profiles, IDC_SYNC_BY_CENTRE, m.syncByCentre != 0);
    pathdlg::SetChecked(&profiles, IDC_SYNC_BY_LENGTH, m.syncByCentre == 0);
    pathdlg::SetChecked(&profiles, IDC_PROFILE_NO_MERGE, m.profileNoMerge != 0);
    pathdlg::SetChecked(&profiles, IDC_PROFILE_INCLINE, m.profileUsesIncline != 0);
    pathdlg::SetChecked(&varTaper, IDC_VAR_TAPER_INCLINE, m.varTaperUsesIncline != 0);
    pathdlg::SetNumber4(&incline, IDC_INCLINE_X, m.inclineAngleX);
    pathdlg::SetNumber4(&incline, IDC_INCLINE_Y, m.inclineAngleY);
    pathdlg::SetChecked(&incline, IDC_INCLINE_SWAP, m.inclineSwapSurfaces != 0);
    pathdlg::SetChecked(&incline, IDC_INCLINE_ENTRY_FIRST, m.inclineEntryFirst != 0);
    pathdlg::SetChecked(&incline, IDC_INCLINE_DISTANCES, m.inclineAsDistances != 0);
    pathdlg::SetChecked(&incline, IDC_INCLINE_PAUSE, m.pauseAfterIncline != 0);
    incline.ShowUnits();
}

std::vector<numfield::Field> CutModePages::NumberFields()
{
    return {{&taper, IDC_TAPER_ANGLE, u"锥度角度"},
            {&incline, IDC_INCLINE_X, u"X轴方向角度"},
            {&incline, IDC_INCLINE_Y, u"Y轴方向角度"}};
}

void CutModePages::Store(MachiningSettings& m) const
{
    const auto flag = [](const CWnd* page, int id) { return std::uint8_t(pathdlg::Checked(page, id) ? 1 : 0); };
    m.taperAngle = ClampAngle90(numfield::Or(&taper, IDC_TAPER_ANGLE, m.taperAngle));
    m.fixedRadiusCorners = flag(&taper, IDC_TAPER_FIXED_RADIUS);
    m.invertedTaper = flag(&taper, IDC_TAPER_INVERTED);
    m.syncByCentre = pathdlg::Checked(&profiles, IDC_SYNC_BY_LENGTH) ? 0 : 1;
    m.inclineAngleX = ClampAngle90(numfield::Or(&incline, IDC_INCLINE_X, m.inclineAngleX));
    m.inclineAngleY = ClampAngle90(numfield::Or(&incline, IDC_INCLINE_Y, m.inclineAngleY));
    m.inclineSwapSurfaces = flag(&incline, IDC_INCLINE_SWAP);
    m.inclineEntryFirst = flag(&incline, IDC_INCLINE_ENTRY_FIRST);
    m.inclineAsDistances = flag(&incline, IDC_INCLINE_DISTANCES);
    m.pauseAfterIncline = flag(&incline, IDC_INCLINE_PAUSE);
    m.taperUsesIncline = flag(&taper, IDC_TAPER_INCLINE);
    m.profileUsesIncline = flag(&profiles, IDC_PROFILE_INCLINE);
    m.varTaperUsesIncline = flag(&varTaper, IDC_VAR_TAPER_INCLINE);
    m.profileNoMerge = flag(&profiles, IDC_PROFILE_NO_MERGE);
}

void CutTypeChanged(CutModePages& pages, int index)
{
    g_CutTypeIndex = index;
    g_CutMode = std::uint8_t(index);
    if (index >= 0 && index <= 1)
        g_MachiningSettings.batchMode = std::uint8_t(index);
    pages.ShowMode(index);
}

void SettingsSnapshot::Take()
{
    block = g_MachiningSettings;
    cut = g_CutParams;
    view = CurrentViewBlock();
    cutMode = g_CutMode;
}

bool SettingsSnapshot::Changed() const
{
    const ViewBlock now = CurrentViewBlock();
    return std::memcmp(&block, &g_MachiningSettings, sizeof block) != 0
           || std::memcmp(&cut, &g_CutParams, sizeof cut) != 0 || std::memcmp(&view, &now, sizeof view) != 0;
}

void SettingsSnapshot::RestoreAll() const
{
    g_MachiningSettings = block;
    g_CutParams = cut;
    RestoreCutType();
}

void SettingsSnapshot::RestoreCutType() const
{
    g_CutTypeIndex = view.cutTypeIndex;
    g_CutMode = cutMode;
    g_MachiningSettings.batchMode = block.batchMode;
}

bool TaperAcceptable(CWnd* dialog, int comboId, CutModePages& pages)
{
    const double angle = pathdlg::Number(&pages.taper, IDC_TAPER_ANGLE);
    if (std::fabs(angle) < kTaperLimit)
        return true;
    CutTypeChanged(pages, 1);
    pathdlg::SelectCombo(dialog, comboId, 1);
    AfxMessageBox(CString(u"锥度角度必须大于-90度且小于90度"), MB_OK | MB_ICONWARNING);
    if (CWnd* edit = pages.taper.GetDlgItem(IDC_TAPER_ANGLE))
        edit->SetFocus();
    return false;
}
