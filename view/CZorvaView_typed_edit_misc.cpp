// Typed input of trim, break (divide and split are in
// CZorvaView_typed_edit_divide.cpp), extend, align, fillet, chamfer,
// tangent, paste, explode, erase, origin offset and offset.

#include <cmath>
#include <mutex>

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/CZorvaDoc.h"
#include "geometry/CPolygon.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/unit_services.h"
#include "view/CZorvaView.h"
#include "view/view_settings_sync.h"
#include "view/view_entities.h"

namespace {

constexpr double kLeastSetting = 0.0001;    // fillet radius, chamfer distances

} // namespace

bool CZorvaView::TypedTrimExtend(CDC* dc, const CString& text)
{
    const TypedValues t = ReadTyped(text);
    switch (g_curCommand) {
    case kCmdTrim:
        if (text == u"u") {
            if (m_editCount >= 1) {
                --m_editCount;
                UndoOrRedoByKey(false);
            }
            return true;
        }
        if (t.n >= 2) {
            FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
            return true;
        }
        return false;
    case kCmdBreak: {
        if (text == u"u") {
            SetCommand(0);
            return true;
        }
        const int mode = GetCommandMode(kCmdBreak - 1);
        if ((mode == 0 || m_subStep == 0) && t.n >= 2) {
            FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
            return true;
        }
        if (mode != 0 && m_subStep >= 1 && t.n >= 1) {
            // The split length is taken as typed, not cut to four decimals.
            double raw[4] = {};
            ParseTypedValues(text, raw);
            DivideOrSplit(mode == 1 ? t.v[0] : raw[0]);
            return true;
        }
        return false;
    }
    case kCmdExtend:
        if (text == u"u") {
            TypedStepBack();
            return true;
        }
        if (m_subStep == 0 && text.IsEmpty()) {
            if (CountSelectedUnits(0) >= 1)
                ++m_subStep;
            ShowPrompt(CString(), 0);
            return true;
        }
        return false;
    case kCmdAlign:
        if (m_subStep == 0) {
            if (CountSelectedUnits(0) >= 1)
                ++m_subStep;
            ShowPrompt(CString(), 0);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool CZorvaView::TypedCorners(CDC* dc, const CString& text)
{
    (void)dc;
    const int command = g_curCommand;
    if (text == u"u") {
        if (command != kCmdTangent) {
            TypedStepBack();
            return true;
        }
        const int was = m_subStep;
        if (m_subStep > 0)
            --m_subStep;
        if (was <= 1)
            ResetEntityStates();
        RedrawNow();
        ShowPrompt(CString(), 0);
        return true;
    }
    if (command == kCmdTangent) {
        if (m_subStep == 0 && text.IsEmpty()) {
            if (CountSelectedUnits(0) >= 1)
                ++m_subStep;
            ShowPrompt(CString(), 0);
            return true;
        }
        return false;
    }
    if (m_subStep != 0)
        return false;
    double raw[4] = {};
    const int n = ParseTypedValues(text, raw);
    if (n < 1)
        return false;
    const double first = raw[0], second = (command == kCmdChamfer && n >= 2) ? raw[1] : raw[0];
    if (!(first >= kLeastSetting) || !(second >= kLeastSetting)) {
        PrintLine(CString(u"#输入数值必须大于0"));
        return true;
    }
    // A new value starts the corner afresh: the working entity is renewed.
    ReleaseFloatingEntity();
    m_pFloatUnit = new CPolygon();
    if (command == kCmdFillet) {
        g_FilletRadius = first;
    } else {
        g_ChamferDist1 = first;
        g_ChamferDist2 = second;
    }
    g_SettingsDirty = 1;
    ShowPrompt(CString(), 0);
    return true;
}

bool CZorvaView::TypedMisc(CDC* dc, const CString& text)
{
    const TypedValues t = ReadTyped(text);
    CZorvaDoc* doc = GetZorvaDoc();
    switch (g_curCommand) {
    case kCmdPathView3D:
        if (t.n < 1)
            return false;
        g_Path3DContours = static_cast<int>(std::fmin(360.0, std::fmax(10.0, std::trunc(t.v[0]))));
        if (t.n >= 2)
            g_Path3DFlat = static_cast<int>(t.v[1]) != 0 ? 1 : 0;
        Path3DSettingsToBlocks();
        g_SettingsDirty = 1;
        ShowPrompt(CString(), 0);
        RedrawNow();
        return true;
    case kCmdCentreLine:
        if (text != u"u")
            return false;
        SetCommand(0);
        return true;
    case kCmdPaste: {
        if (t.n < 1 || doc == nullptr)
            return false;
        const x_Vector p = t.n >= 2 ? x_Vector(t.v[0], t.v[1]) : TowardCursor(m_basePoint, t.v[0]);
        m_secondPoint = p;
        const x_Vector d = p - m_basePoint;
        CRest* rest = nullptr;
        for (CUnit* u : doc->m_unitList) {
            if (u->deleted || !u->selected || u->role != kRoleDrawing)
                continue;
            // A copy of this paste is recorded as created (see the click).
            const bool fresh = !u->complete;
            u->complete = 1;
            u->Move(d);
            u->CommitTransform();
            u->gripsValid = 0;
            if (fresh)
                continue;
            if (rest == nullptr) {
                doc->PrepareUndoStep();
                rest = new CRest;
                rest->m_flags = CRest::kMove;
                rest->m_displacement = d;
            }
            rest->Add(u);
        }
        if (rest != nullptr)
            AppendToObArray(rest, doc->m_restList);
        PurgeDegenerateEntities(0);
        ResetEntityStates();
        ClearOutput();
        SetCommand(0);
        return true;
    }
    case kCmdExplode:
        ExplodeSelected();
        ResetEntityStates();
        SetCommand(0);
        if (!text.IsEmpty())
            PrintLine(CString(u"#输入有误"));
        return true;
    case kCmdErase:
        EraseSelected();
        SetCommand(0);
        if (!text.IsEmpty())
            PrintLine(CString(u"#输入有误"));
        return true;
    case kCmdOriginOffset:
        if (t.n < 2 || doc == nullptr)
            return false;
        for (int i = 0; i < doc->m_unitList.GetSize(); ++i) {
            CUnit* u = doc->m_unitList[i];
            if (u->deleted)
                continue;
            u->Move({-t.v[0], -t.v[1]});
            u->CommitTransform();
            u->gripsValid = 0;
            doc->RecordTransformAt(i, {-t.v[0], -t.v[1]});
        }
        PurgeDegenerateEntities(2);
        ResetEntityStates();
        SetCommand(0);
        ClearOutput();
        return true;
    case kCmdOffset:
        if (text == u"u") {
            SetCommand(0);
            return true;
        }
        if (m_subStep == 0 && t.n >= 1) {
            m_offsetDistance = g_OffsetDistance = t.v[0];
            g_SettingsDirty = 1;
            ++m_subStep;
            ShowPrompt(CString(), 0);
            return true;
        }
        if (m_subStep == 1 && t.n >= 2) {
            FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
            return true;
        }
        if (m_subStep == 2 && t.n >= 1) {
            const int side = static_cast<int>(t.v[0]);
            if (side != 0 && side != 1)
                return false;
            StepCommand(dc, side);
            return true;
        }
        return false;
    default:
        return false;
    }
}
