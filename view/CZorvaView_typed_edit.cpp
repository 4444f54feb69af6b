// Typed input of the edit commands while phase 5 runs: selection confirm,
// step back, and the values of move, mirror, rotate and scale. The other
// families are in CZorvaView_typed_edit_misc.cpp, the grips in
// CZorvaView_grips.cpp.

#include <cmath>
#include <cstdio>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "geometry/unit_services.h"
#include "view/CZorvaView.h"

namespace {

constexpr double kDegree = kPi / 180.0;
constexpr double kLeastFactor = 1e-10;

// The middle of the bounding box of the selected solid entities.
x_Vector SelectionMiddle()
{
    CZorvaDoc* doc = GetZorvaDoc();
    x_Vector lo(1e300, 1e300), hi(-1e300, -1e300);
    if (doc == nullptr)
        return {};
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted || !u->selected || (u->role != kRoleDrawing && u->role != kRoleAnnotation))
            continue;
        u->ComputeExtents();
        lo = x_Vector::MinCorner(lo, u->extentMin);
        hi = x_Vector::MaxCorner(hi, u->extentMax);
    }
    return lo.x > hi.x ? x_Vector() : (lo + hi) / 2.0;
}

} // namespace

bool CZorvaView::TypedEditInput(CDC* dc, const CString& text)
{
    if (g_cmdStep == kStepGripMove || g_cmdStep == kStepGripStretch)
        return TypedGripInput(dc, text);
    if (g_cmdStep != kStepSelect)
        return false;
    switch (g_curCommand) {
    case kCmdMove:
    case kCmdMirror:
    case kCmdRotate:
    case kCmdScale:
        return TypedTransform(dc, text);
    case kCmdTrim:
    case kCmdBreak:
    case kCmdExtend:
    case kCmdAlign:
        return TypedTrimExtend(dc, text);
    case kCmdFillet:
    case kCmdChamfer:
    case kCmdTangent:
        return TypedCorners(dc, text);
    case kCmdPath:
        return TypedPathInput(dc, text);
    default:
        return TypedMisc(dc, text);
    }
}

// "u": one sub-step back, or at the first the transient marks go.
void CZorvaView::TypedStepBack()
{
    if (m_subStep > 0)
        --m_subStep;
    else
        ResetEntityStates();
    RedrawNow();
    ShowPrompt(CString(), 0);
}

bool CZorvaView::TypedTransform(CDC* dc, const CString& text)
{
    const int command = g_curCommand;
    if (text == u"u") {
        TypedStepBack();
        return true;
    }
    if (m_subStep == 0 && text.IsEmpty()) {
        if (CountSelectedUnits(1) >= 1)
            ++m_subStep;
        ShowPrompt(CString(), 0);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    switch (command) {
    case kCmdMove:
        if (m_subStep == 1 && text == u"d") {
            g_DisplacementMode = 1;
            m_basePoint = x_Vector(0, 0);
            ++m_subStep;
            ShowPrompt(CString(), 0);
            return true;
        }
        if (m_subStep == 1 && text.GetLength() > 0 && text[0] == u'p') {
            CString rest = text.Mid(1);
            rest.Trim();
            const TypedValues b = ReadTyped(rest);
            if (b.n < 2)
                return false;
            FeedTypedPoint(dc, {b.v[0], b.v[1]}, -1);
            return true;
        }
        if (m_subStep == 1 && t.n >= 2) {
            // An offset from the origin: the base goes there too; it used to
            // keep the base of an earlier move.
            m_moveBase = m_basePoint = x_Vector(0, 0);
            m_subStep = 2;
            FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
            return true;
        }
        if (m_subStep >= 2)
            return TypedPointOrDistance(dc, t, -1);
        return false;
    case kCmdMirror:
        if (m_subStep >= 3 && (text == u"y" || text == u"n" || text.IsEmpty())) {
            if (text == u"y")
                DuplicateSelectionInPlace();
            ReplaceSelectionByCopies(kCmdMirror, m_basePoint, m_secondPoint, 0.0);
            return true;
        }
        if (m_subStep == 1 && t.n >= 2) {
            FeedTypedPoint(dc, {t.v[0], t.v[1]}, -1);
            return true;
        }
        if (m_subStep == 2 && t.n >= 1) {
            const x_Vector p = t.n >= 2 ? x_Vector(t.v[0], t.v[1])
                                        : m_basePoint + x_Vector::FromPolar(100.0, t.v[0] * kDegree);
            // The mirrored images and the angle readout, as a clicked axis
            // previews them; before, a typed axis showed nothing.
            m_cursorPoint = p;
            PreviewEditRubber(dc);
            FeedTypedPoint(dc, p, -1);
            return true;
        }
        return false;
    case kCmdRotate:
        if (m_subStep == 1 && t.n >= 2) {
            m_basePoint = x_Vector(t.v[0], t.v[1]);
            ++m_subStep;
            ShowPrompt(CString(), 0);
            return true;
        }
        if (m_subStep == 1 && t.n == 1) {
            m_basePoint = x_Vector(0, 0);
            ReplaceSelectionByCopies(kCmdRotate, m_basePoint, m_basePoint, t.v[0] * kDegree);
            return true;
        }
        if (m_subStep >= 2 && t.n >= 1) {
            double angle = t.v[0] * kDegree;
            if (t.n >= 2) {
                m_secondPoint = x_Vector(t.v[0], t.v[1]);
                angle = x_Vector::AngleTo(m_basePoint, m_secondPoint);
            }
            ReplaceSelectionByCopies(kCmdRotate, m_basePoint, m_secondPoint, angle);
            return true;
        }
        return false;
    case kCmdScale: {
        int s = m_subStep;
        if (s == 0 && t.n == 1 && CountSelectedUnits(1) >= 1)
            m_subStep = s = 1;
        if (s == 1 && t.n >= 2) {
            m_basePoint = x_Vector(t.v[0], t.v[1]);
            ++m_subStep;
            ShowPrompt(CString(), 0);
            return true;
        }
        if ((s == 1 && t.n == 1) || (s >= 2 && t.n >= 1)) {
            const double f = t.v[0];
            if (!(f >= kLeastFactor)) {
                PrintLine(CString(u"输入比例必须大于0"));
                ShowPrompt(CString(), 0);
                return true;
            }
            ++m_subStep;
            m_scaleFactor = x_Vector(f, f);
            const x_Vector centre = s == 1 ? SelectionMiddle() : m_basePoint;
            ReplaceSelectionByCopies(kCmdScale, centre, centre, 0.0);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
