// Divide (break mode 1, a typed count) and equidistant split (mode 2, a
// typed length) of the picked line, arc, circle, ellipse or elliptic arc.
// Counts and lengths are checked as doubles before any conversion, the
// least piece holds for every type, and a count above kMostPieces is
// refused: an unbounded count once asked for billions of arcs.

#include <cmath>
#include <mutex>
#include <vector>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CArc.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/path_services.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

constexpr double kLeastPiece = 0.0001;      // shorter pieces are refused
constexpr double kMostPieces = 10000.0;     // a larger count is refused
constexpr double kRemainder = 1e-9;         // what a split leaves as a last piece
constexpr int kEllipseSteps = 4000;         // flattening of an ellipse to be cut

using Units = std::vector<CUnit*>;

double Normalised(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

// The cut lengths along an entity of length total: count equal pieces, or
// pieces of `piece` with what remains as the last one.
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
std::vector<x_Vector> EllipsePoints(CUnit* e)
{
    std::vector<x_Vector> out;
    const EllipseRecord g = e->geometry.ellipse;
    const double sweep = e->GetSweepAngle();
    const double sign = g.direction ? -1.0 : 1.0;
    const double a = e->GetSemiMajor(), b = e->GetSemiMinor(), axis = e->GetAxisAngle();
    for (int i = 0; i <= kEllipseSteps; ++i) {
        const double t = g.startParam + sign * sweep * i / kEllipseSteps;
        const x_Vector local(a * std::cos(t), b * std::sin(t));
        out.push_back(g.centre + x_Vector(local.x * std::cos(axis) - local.y * std::sin(axis),
                                          local.x * std::sin(axis) + local.y * std::cos(axis)));
    }
    return out;
}

double PolylineLength(const std::vector<x_Vector>& pts)
{
    double sum = 0.0;
    for (std::size_t i = 1; i < pts.size(); ++i)
        sum += x_Vector::Distance(pts[i - 1], pts[i]);
    return sum;
}

Units LinePieces(CUnit* e, double length, const std::vector<double>& cuts)
{
    Units made;
    const x_Vector s = e->GetStartPoint(), t = e->GetEndPoint();
    double from = 0.0;
    for (double to : cuts) {
        const x_Vector a = x_Vector::Lerp(from / length, s, t), b = x_Vector::Lerp(to / length, s, t);
        ++g_UnitIdCounter;
        auto* line = new CLine(a.x, a.y, b.x, b.y);
        line->workGeometry = line->geometry;
        line->complete = 1;
        made.push_back(line);
        from = to;
    }
    return made;
}

// Circles are cut counter-clockwise from angle 0; arcs from their start in
// their direction, the last piece ending at the arc's own end.
Units ArcPieces(CUnit* e, double radius, double length, const std::vector<double>& cuts)
{
    Units made;
    const bool circle = e->GetType() == 7;
    const x_Vector c = circle ? e->geometry.circle.centre : e->geometry.arc.centre;
    const double start = circle ? 0.0 : e->geometry.arc.startAngle;
    const std::uint8_t dir = circle ? 0 : e->geometry.arc.direction;
    const double sign = dir ? -1.0 : 1.0;
    double from = 0.0;
    for (double to : cuts) {
        const bool last = to == length;
        double end = Normalised(start + sign * to / radius);
        if (last)
            end = circle ? kTwoPi : e->geometry.arc.endAngle;
        made.push_back(NewArc(c, radius, Normalised(start + sign * from / radius), end, dir));
        from = to;
    }
    return made;
}

// Walks the flattening, cutting where the walked length reaches each cut;
// the last piece ends at the entity's own end parameter.
Units EllipsePieces(CUnit* e, const std::vector<x_Vector>& pts, const std::vector<double>& cuts)
{
    Units made;
    double walked = 0.0, fromParam = e->geometry.ellipse.startParam;
    std::size_t next = 0;
    for (std::size_t i = 1; i < pts.size() && next < cuts.size(); ++i) {
        const double seg = x_Vector::Distance(pts[i - 1], pts[i]);
        while (next < cuts.size() && (walked + seg >= cuts[next] - kRemainder || i + 1 == pts.size())) {
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
    return made;
}

} // namespace

void CZorvaView::DivideOrSplit(double value)
{
    const bool divide = GetCommandMode(kCmdBreak - 1) == 1;
    if (divide ? !(value >= 2.0) : !(value > 0.0)) {
        PrintLine(CString(divide ? u"#等分数量必须大于2" : u"#等距拆分长度必须大于0.0"));
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
    const bool round = type == 7 || type == 8, elliptic = type == 5 || type == 6;
    const double radius = type == 7 ? e->geometry.circle.radius : type == 8 ? e->geometry.arc.radius : 0.0;
    const std::vector<x_Vector> pts = elliptic ? EllipsePoints(e) : std::vector<x_Vector>();
    // An ellipse's own length is that of its last drawn polyline; the cuts
    // walk the flattening above, so it is measured there.
    double length = elliptic ? PolylineLength(pts) : e->GetLength();
    if (round)
        length = radius * (type == 7 ? kTwoPi : SweepAngle(e->geometry.arc));
    const double count = divide ? std::floor(value) : std::floor(length / value);
    const double piece = divide ? length / count : value;
    if (!(piece >= kLeastPiece) || !(count <= kMostPieces) || !std::isfinite(length)) {
        PrintLine(CString(u"#等分尺寸过小"));
        return;
    }
    const std::vector<double> cuts = CutLengths(length, piece, divide, count);
    const Units made = type == 1 ? LinePieces(e, length, cuts)
                     : round     ? ArcPieces(e, radius, length, cuts)
                                 : EllipsePieces(e, pts, cuts);
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
