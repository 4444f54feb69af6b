// Rubber bands of the edit commands in the live preview: the selection is
// moved, mirrored, rotated or scaled in its working copies and drawn in XOR
// (each image drawn once more to erase it), with the readout of the step.

#include <cmath>
#include <cstdlib>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

constexpr double kDegrees = 57.29577951308232;

bool InTransform(CUnit* u, int command)
{
    if (u->deleted || !u->selected)
        return false;
    if (command == kCmdMove)
        return u->role == kRoleDrawing || u->role == kRoleAnnotation || u->role == kRoleGearHandle;
    if (command == kCmdPaste)
        return u->role == kRoleDrawing;
    // Mirror, rotate and scale preview every selected entity but texts;
    // before, all annotations (imported entities among them) were left out.
    return u->GetType() != 12;
}

double Direction(const x_Vector& a, const x_Vector& b)
{
    const double t = std::atan2(b.y - a.y, b.x - a.x);
    return t < 0 ? t + kTwoPi : t;
}

} // namespace

// The first candidate tangent with an end in the pick square is shown.
void CZorvaView::PreviewTangent(CDC* dc)
{
    const POINT c = WorldToScreen(m_cursorPoint);
    const auto near = [&](const x_Vector& p) {
        const POINT q = WorldToScreen(p);
        return p.valid && std::abs(q.x - c.x) <= 8 && std::abs(q.y - c.y) <= 8;
    };
    m_tangentChoice = -1;
    for (int i = 0; i < 4; ++i) {
        const x_LineData& t = m_tangents[i];
        if (!t.p1.valid || !t.p2.valid || !(near(t.p1) || near(t.p2)))
            continue;
        DrawRubberLineAlt(t.p1, t.p2, dc);
        m_tangentChoice = i;
        return;
    }
}

// The direction arrow under the cursor is shown highlighted, so the side a
// click takes is seen before the click.
void CZorvaView::PreviewArrowChoice(CDC* dc)
{
    const int arrow = DirectionArrowAt(WorldToScreen(m_cursorPoint), m_cursorPoint);
    const int old = g_highlightedArrow;
    if (arrow == old)
        return;
    if (arrow >= 0)
        DrawMarkerSymbol(old, 2, dc, g_DirSignList[arrow]);
    else if (old >= 0 && old < g_DirSignList.GetSize())
        DrawMarkerSymbol(-1, 1, dc, g_DirSignList[old]);
    g_highlightedArrow = arrow;
}

void CZorvaView::PreviewEditRubber(CDC* dc)
{
    const int command = g_curCommand;
    if (command == kCmdTangent) {
        PreviewTangent(dc);
        return;
    }
    const bool pathArrows = command == kCmdPath
        && (m_subStep == 2 || m_subStep == 4 || m_subStep == 7 || m_subStep == 9);
    if ((command == kCmdOffset && m_subStep == 2) || pathArrows) {
        PreviewArrowChoice(dc);
        return;
    }
    // Path generation: the rubber band from the threading point to the
    // lead-in point, and from an open chain's end to the end point.
    const bool pathRubber = command == kCmdPath && m_path.rubberPixels[0] != -1 && m_workerRequest.load() == 0
        && (m_subStep == 1 || m_subStep == 3 || m_subStep == 6 || m_subStep == 8);
    if (pathRubber) {
        DrawRubberLine(m_path.lineStart, m_cursorPoint, 0, dc);
        return;
    }
    const bool transform = (command == kCmdMove || command == kCmdMirror || command == kCmdRotate
                            || command == kCmdScale) && m_subStep == 2;
    const bool paste = command == kCmdPaste && m_subStep >= 0;
    if (!transform && !paste)
        return;
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    const x_Vector base = m_basePoint;
    if (paste) {
        if (!m_pasteBaseMarked) {
            DrawFilledGrip(base, dc);
            m_pasteBaseMarked = 1;
        }
        const POINT b = WorldToScreen(base), c = WorldToScreen(m_cursorPoint);
        if (std::abs(b.x - c.x) <= 8 && std::abs(b.y - c.y) <= 8)
            m_cursorPoint = base;
    }
    for (CUnit* u : doc->m_unitList)
        if (g_rubberShown && InTransform(u, command))
            u->DrawRubber(dc, m_cursorPoint);
    const x_Vector cursor = m_cursorPoint;
    const double angle = Direction(base, cursor);
    if (command == kCmdScale) {
        const POINT b = WorldToScreen(base), c = WorldToScreen(cursor);
        const double f = std::hypot(static_cast<double>(c.x - b.x), static_cast<double>(c.y - b.y)) / 100.0;
        m_scaleFactor = x_Vector(f, f);
    }
    for (CUnit* u : doc->m_unitList) {
        if (!InTransform(u, command))
            continue;
        switch (command) {
        case kCmdMove:
        case kCmdPaste:
            u->Move(cursor - base);
            break;
        case kCmdMirror:
            u->Mirror(base, cursor);
            break;
        case kCmdRotate:
            u->Rotate(base, angle);
            break;
        case kCmdScale:
            u->Scale(base, m_scaleFactor);
            break;
        default:
            break;
        }
        u->DrawRubber(dc, cursor);
    }
    g_rubberShown = 1;
    DrawRubberLine(base, cursor, 0, dc);
    CString text;
    if (command == kCmdMove)
        ShowDistanceReadout();
    else if (command == kCmdMirror || command == kCmdRotate)
        text.Format(u"角度：%0.4f °", angle * kDegrees);
    else if (command == kCmdScale)
        text.Format(u"倍数：%0.4f(X)", m_scaleFactor.x);
    else
        text.Format(u"距离：%0.4fmm ，角度：%.4f°", x_Vector::Distance(base, cursor), angle * kDegrees);
    if (!text.IsEmpty())
        SetPromptText(text);
}
