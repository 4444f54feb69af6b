#include "geometry/CText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geometry/CUnitDocument.h"
#include "geometry/CUnitView.h"
#include "geometry/GeometryState.h"
#include "geometry/grip_pairs.h"
#include "geometry/pick_and_drag.h"
#include "geometry/screen_marks.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"

IMPLEMENT_SERIAL(CText, CUnit, 1)

namespace {

constexpr int kLabelHeight = 12;            // styles 1 and 2
constexpr int kGripHalfPx = 12;
constexpr int kPickHalfWidthPx = 50;
constexpr int kPickHalfHeightPx = 20;

void ApplyPosition(CText& t, x_Vector position)
{
    t.workGeometry.text = t.geometry.text;
    t.workGeometry.text.position = position;
}

} // namespace

int TextPixelHeight(double zoom, int fontSize)
{
    const double z = std::clamp(std::isnan(zoom) ? 1.0 : zoom, 0.0001, 4.0);
    const double base = std::max<std::int64_t>(std::int64_t(fontSize) - 7, 8);
    const double h = std::trunc(z * base);
    return h > 12 ? 12 : (h < 1 ? 1 : static_cast<int>(h));
}

std::vector<CString> SplitTextLines(const CString& text)
{
    std::vector<CString> lines;
    CString line;
    const int n = text.GetLength();
    for (int i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c != u'\\') {
            line += c;
            continue;
        }
        if (i + 1 < n && text[i + 1] == u'P')
            ++i;
        lines.push_back(line);
        line.Empty();
    }
    if (!line.IsEmpty())
        lines.push_back(line);
    return lines;
}

CText::CText() : CUnit(UnitFamily::text)
{
    CUnit::ResetState();
    geometry.text.fontSize = workGeometry.text.fontSize = 10;
    geometry.text.extraInt = workGeometry.text.extraInt = 0;
    role = kRoleAnnotation;
    unitId = g_UnitIdCounter;
    lineStyle = g_CurrentLineStyle;
    colour = g_AnnotationColor;
    dashDot = g_CurrentDashDot;
}

CText::~CText()
{
    CUnit::FreeCaches();
}

// Tail: position, the wide string, extraInt, extraReal, fontSize twice (the
// second one counts on reading), boxSize.
void CText::Serialize(CArchive& ar)
{
    CUnit::Serialize(ar);
    TextRecord& t = geometry.text;
    if (ar.IsStoring()) {
        ar << t.position;
        ar.WriteWideString(t.text);
        ar << t.extraInt << t.extraReal << t.fontSize << t.fontSize << t.boxSize;
        return;
    }
    ar >> t.position;
    t.text = ar.ReadWideString();
    ar >> t.extraInt >> t.extraReal >> t.fontSize >> t.fontSize >> t.boxSize;
    gripsValid = 0;
}

void CText::Draw(CDC* dc, int mode, std::uint8_t*)
{
    g_DashPhase = 0;
    const UnitDrawStyle style = ChooseDrawStyle(DrawRule::annotation);
    if (mode == 1)
        workGeometry.text = geometry.text;
    const TextRecord& t = workGeometry.text;
    const int h = TextPixelHeight(g_ViewScale, t.fontSize);
    if (dc != nullptr) {
        const int rop = dc->SetROP2(R2_COPYPEN);
        CFont font;
        font.CreateFont(textStyle == 1 || textStyle == 2 ? kLabelHeight : h, 0, 0, 0, 400, 0, 0, 0, 0,
                        0, 0, 0, 2, textStyle == 2 ? u"Arial" : u"宋体");
        CFont* oldFont = dc->SelectObject(&font);
        const COLORREF oldColour = dc->SetTextColor(style.colour);
        const unsigned oldAlign = dc->SetTextAlign(0);
        const POINT s = WorldToScreen(t.position);
        if (textStyle == 1) {
            dc->ExtTextOut(s.x - 3, s.y - 10, 0, nullptr, t.text.GetString(), t.text.GetLength());
        } else if (textStyle == 0) {
            dc->ExtTextOut(s.x, s.y, 0, nullptr, t.text.GetString(), t.text.GetLength());
        } else {
            int k = 0;
            for (const CString& line : SplitTextLines(t.text))
                dc->ExtTextOut(s.x, s.y + k++ * h, 0, nullptr, line.GetString(), line.GetLength());
        }
        dc->SetTextAlign(oldAlign);
        dc->SetTextColor(oldColour);
        dc->SelectObject(oldFont);
        dc->SetROP2(rop);
    }
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
}

void CText::ComputeExtents()
{
    const double s = ClampViewScale();
    const x_Vector& p = geometry.text.position;
    extentMin = x_Vector(p.x - 20 / s, p.y - 5 / s, p.valid);
    extentMax = x_Vector(p.x + 20 / s, p.y + 5 / s, p.valid);
}

void CText::UpdateGripPoints()
{
    gripPoints.RemoveAll();
    gripPoints.Add(workGeometry.text.position);
    keyPoints.RemoveAll();
    keyPoints.Add(workGeometry.text.position);
}

void CText::DrawGrips(CDC* dc)
{
    if (dc != nullptr) {
        CPen pen(PS_SOLID, 1, g_EndPointColor);
        CPen* oldPen = dc->SelectObject(&pen);
        CBrush* oldBrush = dc->SelectObject(&g_DrawingBrushes[0]);
        const int rop = dc->SetROP2(R2_NOTXORPEN);
        const int bk = dc->SetBkMode(OPAQUE);
        for (int i = 0; i < gripPoints.GetSize(); ++i) {
            const POINT p = WorldToScreen(gripPoints[i]);
            if (!AddUniquePair(p.x, p.y))
                dc->Rectangle(p.x - 8, p.y - 8, p.x + 8, p.y + 8);
        }
        dc->SetBkMode(bk);
        dc->SetROP2(rop);
        dc->SelectObject(oldBrush);
        dc->SelectObject(oldPen);
    }
    if (!gripsValid) {
        gripsValid = 1;
        UpdateGripPoints();
        ComputeExtents();
    }
}

int CText::HitTestGrip(x_Vector point)
{
    const POINT c = WorldToScreen(point);
    for (int i = 0; i < keyPoints.GetSize(); ++i) {
        const POINT k = WorldToScreen(keyPoints[i]);
        if (c.x >= k.x - kGripHalfPx && c.x < k.x + kGripHalfPx && c.y >= k.y - kGripHalfPx &&
            c.y < k.y + kGripHalfPx) {
            edit->gripHit = keyPoints[i];
            return i + 1;
        }
    }
    return 0;
}

bool CText::HitTest(x_Vector point, std::uint8_t exact)
{
    if (exact)
        return false;
    const POINT c = WorldToScreen(point);
    const POINT s = WorldToScreen(workGeometry.text.position);
    const std::int64_t dx = std::int64_t(s.x) - c.x, dy = std::int64_t(s.y) - c.y;
    return dx >= -kPickHalfWidthPx && dx < kPickHalfWidthPx && dy >= -kPickHalfHeightPx &&
           dy < kPickHalfHeightPx;
}

void CText::OnPick(CDC* dc, CUnitView* view, x_Vector point)
{
    if (view == nullptr)
        return;
    if (selected && g_curCommand == 0) {
        g_rubberShown = 0;
        const int grip = HitTestGrip(point);
        view->m_gripNumber = grip;
        if (grip >= 1) {
            edit->dragStart = edit->dragPoint = edit->gripHit;
            view->m_gripDragFlag = 1;
            picked = 1;
            view->m_firstPoint = workGeometry.text.position;
            view->m_dragPixel[0] = WorldToScreen(workGeometry.text.position);
            g_cmdStep = 3;
        }
    } else if (!selected) {
        SelectOnHit(*this, *view, point);
    }
    if (!view->m_gripDragFlag)
        return;
    view->m_dragUnit = this;
    rubberShown = 0;
    if (g_pDoc != nullptr) {
        std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
        for (CUnit* u : g_pDoc->m_unitList)
            if (u != nullptr && !u->deleted && u->group != group && u->unitId != unitId)
                u->selected = u->picked = 0;
    }
    if (view->m_gripNumber == 1 || view->m_gripNumber == 2) {
        view->m_pickUnit = this;
        if (role == kRoleDrawing)
            DrawPickBox(edit->dragStart, dc);
    }
}

void CText::InteractiveStep(CDC* dc, CUnitView*, x_Vector p)
{
    if (g_cmdStep != 3)
        return;
    workGeometry.text.position = p;
    DrawRubberLine(edit->dragPoint, p, 0, dc);
}

void CText::CommitTransform()
{
    geometry.text = workGeometry.text;
    complete = 1;
    gripsValid = 0;
}

// Moving did nothing, so a moved selection left its texts behind.
void CText::Move(x_Vector d)
{
    edit->moveDelta = d;
    ApplyPosition(*this, geometry.text.position + d);
}

bool CText::Mirror(x_Vector a, x_Vector b)
{
    x_Vector p = geometry.text.position;
    ApplyPosition(*this, p.MirrorAbout(a, b));
    return true;
}

bool CText::Rotate(x_Vector centre, double angle)
{
    x_Vector p = geometry.text.position;
    ApplyPosition(*this, p.RotateAbout(centre, angle));
    return true;
}

bool CText::Scale(x_Vector base, x_Vector f)
{
    x_Vector p = geometry.text.position;
    ApplyPosition(*this, p.ScaleAbout(base, f.x, f.y));
    return true;
}

// Mode 2 took the current record, so a copied and moved text stayed put.
bool CText::Copy(int mode, CUnit*& out)
{
    if (mode != 1)
        ++g_UnitIdCounter;
    auto* t = new CText();
    if (mode == 1)
        t->unitId = unitId;
    const TextRecord& from = mode == 2 ? workGeometry.text : geometry.text;
    CopyTextAttributes(t->geometry.text, from);
    CopyTextAttributes(t->workGeometry.text, from);
    CopyCommonAttributes(t);
    t->complete = 1;
    out = t;
    return true;
}
