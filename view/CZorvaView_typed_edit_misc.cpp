// Typed input of trim, break, divide and split, extend, align, fillet,
// chamfer, tangent, paste, explode, erase, origin offset and offset.

#include <cmath>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/path_services.h"
#include "geometry/unit_services.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

constexpr double kLeastPiece = 0.0001;      // shorter pieces are refused
constexpr double kMostPieces = 10000.0;     // a larger count is refused
constexpr double kLeastSetting = 0.0001;    // fillet radius, chamfer distances
constexpr double kRemainder = 1e-9;         // what a split leaves as a last piece
constexpr int kEllipseSteps = 4000;         // flattening of an ellipse to be cut

CLine* NewPlacedLine(const x_Vector& a, const x_Vector& b)
{
    ++g_UnitIdCounter;
    auto* line = new CLine(a.x, a.y, b.x, b.y);
    line->workGeometry = line->geometry;
    line->complete = 1;
    return line;
}

double Normalised(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// The cut lengths along an entity of length total: k equal pieces, or pieces
// of `piece` with what remains as the last one.
std::vector<double> CutLengths(double total, double piece, bool equal, double count)
{
    std::vector<double> cuts;
    const int n = static_cast<int>(count);
    for (int i = 1; i <= n; ++i)
        cuts.push_back(equal ? total * i / n : piece * i);
    if (equal)
        cuts.back() = total;
    else if (total - piece * n > kRemainder)
        cuts.push_back(total);
    return cuts;
}

// The points of an ellipse or elliptic arc from its start, flattened.
std::vector<x_Vector> EllipsePoints(CUnit* e, int steps)
{
    std::vector<x_Vector> out;
    const EllipseRecord g = e->geometry.ellipse;
    const double sweep = e->GetSweepAngle();
    const double sign = g.direction ? -1.0 : 1.0;
    const double a = e->GetSemiMajor(), b = e->GetSemiMinor(), axis = e->GetAxisAngle();
    const x_Vector c = e->GetCentre();
    for (int i = 0; i <= steps; ++i) {
        const double t = g.startParam + sign * sweep * i / steps;
        const x_Vector local(a * std::cos(t), b * std::sin(t));
        out.push_back(c + x_Vector(local.x * std::cos(axis) - local.y * std::sin(axis),
                                   local.x * std::sin(axis) + local.y * std::cos(axis)));
    }
    return out;
}

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

// Divide (mode 1, value = count) or split (mode 2, value = piece length) of
// the picked entity. Counts and lengths are checked as doubles before any
// conversion, the least piece holds for every type, and a count above
// kMostPieces is refused: an unbounded count once made billions of arcs.
void CZorvaView::DivideOrSplit(double value)
{
    const bool divide = GetCommandMode(kCmdBreak - 1) == 1;
    if (divide && !(value >= 2.0)) {
        PrintLine(CString(u"#等分数量必须大于2"));
        ShowPrompt(CString(), 0);
        return;
    }
    if (!divide && !(value > 0.0)) {
        PrintLine(CString(u"#等距拆分长度必须大于0.0"));
        ShowPrompt(CString(), 0);
        return;
    }
    CUnit* e = m_pPickedUnit;
    CZorvaDoc* doc = GetZorvaDoc();
    if (e == nullptr || doc == nullptr || e->deleted || !e->selected) {
        PrintLine(CString(u"#没有选中实线"));
        return;
    }
    const int type = e->GetType();
    if (type != 1 && type != 5 && type != 6 && type != 7 && type != 8) {
        m_subStep = 0;
        PrintLine(CString(u"#不支持此类实线等分"));
        return;
    }
    double radius = 0.0, sweep = 0.0;
    if (type == 7) {
        radius = e->geometry.circle.radius;
        sweep = kTwoPi;
    } else if (type == 8) {
        radius = e->geometry.arc.radius;
        sweep = SweepAngle(e->geometry.arc);
    }
    // An ellipse's own length is that of its last drawn polyline; the cuts
    // walk a flattening of their own, so its length is measured on it.
    const bool elliptic = type == 5 || type == 6;
    const std::vector<x_Vector> pts = elliptic ? EllipsePoints(e, kEllipseSteps) : std::vector<x_Vector>();
    double length = (type == 7 || type == 8) ? radius * sweep : e->GetLength();
    if (elliptic) {
        length = 0.0;
        for (std::size_t i = 1; i < pts.size(); ++i)
            length += x_Vector::Distance(pts[i - 1], pts[i]);
    }
    const double count = divide ? std::floor(value) : std::floor(length / value);
    const double piece = divide ? length / count : value;
    if (!(piece >= kLeastPiece) || !(count <= kMostPieces) || !std::isfinite(length)) {
        PrintLine(CString(u"#等分尺寸过小"));
        return;
    }
    const std::vector<double> cuts = CutLengths(length, piece, divide, count);
    std::vector<CUnit*> made;
    double from = 0.0;
    if (type == 1) {
        const x_Vector s = e->GetStartPoint(), t = e->GetEndPoint();
        for (double to : cuts) {
            made.push_back(NewPlacedLine(x_Vector::Lerp(from / length, s, t), x_Vector::Lerp(to / length, s, t)));
            from = to;
        }
    } else if (type == 7 || type == 8) {
        const bool circle = type == 7;
        const x_Vector c = circle ? e->geometry.circle.centre : e->geometry.arc.centre;
        const double start = circle ? 0.0 : e->geometry.arc.startAngle;
        const std::uint8_t dir = circle ? 0 : e->geometry.arc.direction;
        const double sign = dir ? -1.0 : 1.0;
        for (double to : cuts) {
            const double a0 = Normalised(start + sign * from / radius);
            const double a1 = (circle && to == length) ? kTwoPi : Normalised(start + sign * to / radius);
            made.push_back(NewArc(c, radius, a0, (circle || to != length) ? a1 : e->geometry.arc.endAngle, dir));
            from = to;
        }
    } else {
        // Ellipses: walk a fine flattening and cut at the accumulated lengths.
        double walked = 0.0, fromParam = e->geometry.ellipse.startParam;
        std::size_t next = 0;
        for (std::size_t i = 1; i < pts.size() && next < cuts.size(); ++i) {
            const double seg = x_Vector::Distance(pts[i - 1], pts[i]);
            while (next < cuts.size() && (walked + seg >= cuts[next] - 1e-9 || i + 1 == pts.size())) {
                const bool last = next + 1 == cuts.size();
                x_Vector at = pts[i];
                if (!last && seg > 0)
                    at = x_Vector::Lerp((cuts[next] - walked) / seg, pts[i - 1], pts[i]);
                const double toParam = last ? e->geometry.ellipse.endParam : e->ParameterAtPoint(at);
                ++g_UnitIdCounter;
                auto* piece = new CEllipseArc();
                piece->geometry.ellipse = e->geometry.ellipse;
                piece->geometry.ellipse.startParam = fromParam;
                piece->geometry.ellipse.endParam = toParam;
                piece->workGeometry = piece->geometry;
                piece->complete = 1;
                made.push_back(piece);
                fromParam = toParam;
                ++next;
            }
            walked += seg;
        }
    }
    {
        std::lock_guard<std::recursive_mutex> lock(doc->m_listMutex);
        doc->RecordDelete(e);
        for (CUnit* u : made)
            doc->AppendUnit(u);
    }
    m_pPickedUnit = nullptr;
    PurgeDegenerateEntities(0);
    SetCommand(0);
    PrintSeparator();
    PrintLine(CString(u"操作完成"));
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
        g_SettingsDirty = 1;
        ShowPrompt(CString(), 0);
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
