// The three generators behind the gear dialog's pages: read the page, show
// the size fields, check, and in generation mode write the outline into the
// preview list and repaint the preview.

#include "app/AppState.h"
#include "generators/CZorvacreateGear.h"
#include "generators/dialog_fields.h"
#include "generators/gear_dialog_resources.h"
#include "generators/gear_outline.h"
#include "generators/rack_outline.h"
#include "geometry/GeometryState.h"
#include "view/view_entities.h"

namespace {

void SetMessage(CWnd* page, const CString& text)
{
    page->SetDlgItemText(IDC_MESSAGE, text);
}

} // namespace

GearInputs CZorvacreateGear::ReadGearPage() const
{
    const CWnd* p = &m_gearPage;
    GearInputs in;
    in.teeth = FieldInt(p, IDC_TEETH);
    in.module = FieldNumber(p, IDC_MODULE);
    in.alphaDeg = FieldNumber(p, IDC_ALPHA);
    in.ha = FieldNumber(p, IDC_HA);
    in.c = FieldNumber(p, IDC_C);
    in.shift = FieldNumber(p, IDC_GEAR_SHIFT);
    in.tipFillet = FieldChecked(p, IDC_GEAR_TIP_ON) ? FieldNumber(p, IDC_GEAR_TIP_R) : 0.0;
    in.rootFillet = FieldChecked(p, IDC_GEAR_ROOT_ON) ? FieldNumber(p, IDC_GEAR_ROOT_R) : 0.0;
    in.typedSizes = !FieldChecked(p, IDC_GEAR_MODE1);
    in.typedDa = FieldNumber(p, IDC_SIZE_TIP);
    in.typedDf = FieldNumber(p, IDC_SIZE_ROOT);
    in.byCount = FieldChecked(p, IDC_GEAR_BYCOUNT);
    in.countToMake = FieldInt(p, IDC_GEAR_COUNT);
    in.startAngleDeg = FieldNumber(p, IDC_GEAR_START);
    return in;
}

RackInputs CZorvacreateGear::ReadRackPage() const
{
    const CWnd* p = &m_rackPage;
    RackInputs in;
    in.teeth = FieldInt(p, IDC_TEETH);
    in.module = FieldNumber(p, IDC_MODULE);
    in.alphaDeg = FieldNumber(p, IDC_ALPHA);
    in.ha = FieldNumber(p, IDC_HA);
    in.c = FieldNumber(p, IDC_C);
    in.shift = FieldNumber(p, IDC_RACK_SHIFT);
    in.tipFillet = FieldChecked(p, IDC_RACK_TIP_ON) ? FieldNumber(p, IDC_RACK_TIP_R) : 0.0;
    in.rootFillet = FieldChecked(p, IDC_RACK_ROOT_ON) ? FieldNumber(p, IDC_RACK_ROOT_R) : 0.0;
    in.typedHeights = !FieldChecked(p, IDC_RACK_MODE1);
    in.typedTip = FieldNumber(p, IDC_SIZE_TIP);
    in.typedRoot = FieldNumber(p, IDC_SIZE_ROOT);
    return in;
}

bool CZorvacreateGear::GenerateExternalGear(int mode)
{
    return GenerateGear(mode, false);
}

bool CZorvacreateGear::GenerateInternalGear(int mode)
{
    return GenerateGear(mode, true);
}

bool CZorvacreateGear::GenerateGear(int mode, bool internal)
{
    CZorvacreate_tab1& page = m_gearPage;
    SetMessage(&page, CString(u"--"));
    const GearInputs in = ReadGearPage();
    const CString refused = TeethCountMessage(in.teeth);
    if (!refused.IsEmpty()) {
        SetMessage(&page, refused);
        return false;
    }
    const GearCircles circles = internal ? InternalGearCircles(in) : ExternalGearCircles(in);
    if (!page.m_typingSizes) {
        page.m_ready = 0;
        SetFieldNumber4(&page, IDC_SIZE_TIP, 2.0 * circles.ra);
        SetFieldNumber4(&page, IDC_SIZE_ROOT, 2.0 * circles.rroot);
        page.m_ready = 1;
    }
    if (g_pDoc == nullptr)
        return false;
    GearOutline outline;
    const bool checkOnly = mode != 0;
    const std::int32_t group = checkOnly ? 0 : GetMaxGroupNumber() + 1;
    const bool ok = internal ? BuildInternalGear(in, circles, group, checkOnly, g_pDoc->m_tempList, outline)
                             : BuildExternalGear(in, circles, group, checkOnly, g_pDoc->m_tempList, outline);
    SetMessage(&page, outline.message);
    if (!ok || checkOnly)
        return ok;
    m_flankSamples.Copy(outline.flankSamples);
    m_handleUnit = outline.handleUnit;
    m_handlePoint = outline.handlePoint;
    ShowPreviewNow();
    return true;
}

bool CZorvacreateGear::GenerateRack(int mode)
{
    CZorvacreate_tab2& page = m_rackPage;
    SetMessage(&page, CString(u"--"));
    const RackInputs in = ReadRackPage();
    const CString refused = TeethCountMessage(in.teeth);
    if (!refused.IsEmpty()) {
        SetMessage(&page, refused);
        return false;
    }
    const RackHeights h = ComputeRackHeights(in);
    if (!page.m_typingSizes) {
        page.m_ready = 0;
        // The fields show twice the heights.
        SetFieldNumber4(&page, IDC_SIZE_TIP, 2.0 * h.ha);
        SetFieldNumber4(&page, IDC_SIZE_ROOT, 2.0 * h.hf);
        page.m_ready = 1;
    }
    if (mode != 0)
        return true;
    if (g_pDoc == nullptr)
        return false;
    RackOutline outline;
    const bool ok = BuildRack(in, h, GetMaxGroupNumber() + 1, g_pDoc->m_tempList, outline);
    SetMessage(&page, outline.message);
    if (!ok)
        return false;
    m_handleUnit = outline.handleUnit;
    m_handlePoint = outline.handlePoint;
    ShowPreviewNow();
    return true;
}
