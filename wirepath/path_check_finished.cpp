// The check of a path as built: each surface's list is taken apart into its
// lead lines, its contour and the over-cut that runs over the start again,
// and the contour is checked against what contour building intended.
//
//   lead-in | contour from S round to S (excursions inside) | over-cut | lead-out

#include <cmath>
#include <vector>

#include "wirepath/TrailPath.h"
#include "wirepath/check_segments.h"
#include "wirepath/path_check.h"

namespace {

constexpr std::uint8_t kRoleLead = 1;
constexpr std::uint8_t kRoleExcursion = 7;
constexpr double kJointExact = 1e-6;        // mm: as the joint rule
constexpr std::uint8_t kRoleDieMark = 0x50; // as the contour check

bool ContourRole(std::uint8_t role)
{
    return role == 0 || role == kRoleDieMark;
}

bool Degenerate(const x_TrailData& e)
{
    return e.IsLine() ? e.start == e.end : !(e.radius >= 1e-10);
}

// An element that goes nowhere: a point, or a line or arc whose length is
// within the joint rule (a loop cut left such a stub where the contour
// starts, and the contour seemed to close there).
bool Stays(const x_TrailData& e)
{
    if (Degenerate(e))
        return true;
    return (e.IsLine() ? x_Vector::Distance(e.start, e.end) : e.Length()) <= kJointExact;
}

// The elements between the lead lines: [first, last].
bool ContourSpan(const x_TrailDataArray& list, int& first, int& last)
{
    first = 0;
    last = list.GetSize() - 1;
    while (first <= last && (list[first].role == kRoleLead || list[first].kind > 3))
        ++first;
    while (last >= first && (list[last].role == kRoleLead || list[last].kind > 3))
        --last;
    return first <= last;
}

// A surface's contour made into pieces once, for the joints, the return
// to the start, the distance rules and the orientation: an arc's ends cost
// a sine and a cosine each.
struct SurfacePieces {
    std::vector<CheckPiece> pieces;     // contour roles in [first, last], element counted from first
    std::vector<int> pieceOf;           // element i's piece at i - first, -1 none
};
thread_local SurfacePieces t_surface;

class SurfaceEnds {
public:
    SurfaceEnds(const x_TrailDataArray& list, int first, int last) : m_list(list), m_first(first), m_last(last)
    {
        std::vector<CheckPiece>& pieces = t_surface.pieces;
        pieces.clear();
        t_surface.pieceOf.assign(static_cast<size_t>(last - first + 1), -1);
        for (int i = first; i <= last; ++i) {
            const int p = static_cast<int>(pieces.size());
            if (ContourRole(list[i].role) && AddPiece(pieces, list[i], x_Vector(0.0, 0.0), i - first))
                t_surface.pieceOf[static_cast<size_t>(i - first)] = p;
        }
    }
    const CheckPiece* Piece(int i) const
    {
        if (i < m_first || i > m_last)
            return nullptr;
        const int p = t_surface.pieceOf[static_cast<size_t>(i - m_first)];
        return p >= 0 ? &t_surface.pieces[static_cast<size_t>(p)] : nullptr;
    }
    // As the element's StartPoint and EndPoint.
    x_Vector Start(int i) const
    {
        const CheckPiece* q = Piece(i);
        return q != nullptr ? q->a : m_list[i].StartPoint();
    }
    x_Vector End(int i) const
    {
        const CheckPiece* q = Piece(i);
        return q != nullptr ? q->b : m_list[i].EndPoint();
    }

private:
    const x_TrailDataArray& m_list;
    int m_first, m_last;
};

// CheckJoints on the ends made once.
PathCheckResult JointsOf(const x_TrailDataArray& list, const SurfaceEnds& ends)
{
    int previous = -1;
    for (int i = 0; i < list.GetSize(); ++i) {
        if (list[i].kind > 3)
            continue;
        if (previous >= 0) {
            const x_Vector start = ends.Start(i);
            const double gap = Dist(ends.End(previous), start);
            if (!(gap <= kJointExact)) {
                PathCheckResult r;
                r.fault = kCheckJointOpen;
                r.element = i;
                r.where = start;
                r.measured = gap;
                return r;
            }
        }
        previous = i;
    }
    return {};
}

// The index after the contour of a closed cut: past the first element
// that brings the contour back to its start, and the excursions and
// points that follow it there; -1 when it never comes back.
int ClosingEnd(const x_TrailDataArray& list, const SurfaceEnds& ends, int first, int last)
{
    const x_Vector start = ends.Start(first);
    bool moved = false;
    for (int i = first; i <= last; ++i) {
        const x_TrailData& e = list[i];
        if (e.role == kRoleExcursion || Stays(e))
            continue;
        moved = true;
        if (Dist(ends.End(i), start) > kJointExact)
            continue;
        int end = i + 1;
        while (end <= last && (list[end].role == kRoleExcursion || Stays(list[end])))
            ++end;
        return end;
    }
    return moved ? -1 : last + 1;
}

// Twice the signed area of elements [first, end), as TwiceArea.
double AreaOf(const x_TrailDataArray& list, const SurfaceEnds& ends, int first, int end)
{
    double sum = 0.0;
    for (int i = first; i < end; ++i) {
        if (const CheckPiece* q = ends.Piece(i)) {
            sum += TwiceAreaPart(*q);
            continue;
        }
        CheckPiece made;
        if (MakePiece(list[i], x_Vector(0.0, 0.0), made))
            sum += TwiceAreaPart(made);
    }
    return sum;
}

PathCheckResult OnSurface(PathCheckResult r, int surface)
{
    r.surface = surface;
    return r;
}

// Whether surface 1's reference is surface 0's, and its pieces (made by
// the check of surface 0 on this thread) serve again.
bool SameReference(const TrailPath& path, int k)
{
    const SurfaceIntent& a = path.intent[0];
    const SurfaceIntent& b = path.intent[1];
    return k == 1 && a.set && b.set && (a.reference != 0) == (b.reference != 0) && a.shift.x == b.shift.x
           && a.shift.y == b.shift.y;
}

PathCheckResult CheckSurface(const TrailPath& path, int k, double& area)
{
    const x_TrailDataArray& list = path.lists[k];
    int first = 0, last = 0;
    if (!ContourSpan(list, first, last)) {
        PathCheckResult r = CheckJoints(list);
        if (r.Ok())
            r.fault = kCheckEmpty;
        return OnSurface(r, k);
    }
    const SurfaceEnds ends(list, first, last);
    PathCheckResult r = JointsOf(list, ends);
    if (!r.Ok())
        return OnSurface(r, k);
    const bool closed = path.params.closedCut != 0;
    const int end = closed ? ClosingEnd(list, ends, first, last) : last + 1;
    if (end < 0) {
        r.fault = kCheckClosingOpen;
        r.element = last;
        r.where = ends.End(last);
        r.measured = Dist(r.where, ends.Start(first));
        return OnSurface(r, k);
    }
    area = AreaOf(list, ends, first, end);
    const SurfaceIntent& intent = path.intent[k];
    const x_TrailDataArray& reference = path.unshifted[intent.reference != 0 ? 1 : 0];
    r = CheckContourPieces(list.GetData() + first, t_surface.pieces, last - first + 1, end - first, reference,
                           intent, closed, SameReference(path, k));
    if (r.element >= 0)
        r.element += first;
    return OnSurface(r, k);
}

CString Millimetres(double v)
{
    CString s;
    s.Format(u"%.4fmm", v);
    return s;
}

CString At(const x_Vector& p)
{
    CString s;
    s.Format(u"在(%.3f,%.3f)", p.x, p.y);
    return s;
}

} // namespace

PathCheckResult CheckFinishedPath(const TrailPath& path)
{
    const int surfaces = path.lists[1].IsEmpty() ? 1 : 2;
    double area[2] = {0.0, 0.0};
    for (int k = 0; k < surfaces; ++k) {
        const PathCheckResult r = CheckSurface(path, k, area[k]);
        if (!r.Ok())
            return r;
    }
    PathCheckResult r;
    if (surfaces == 2 && path.lists[0].GetSize() != path.lists[1].GetSize()) {
        r.fault = kCheckCounts;
        return r;
    }
    if (surfaces == 2 && path.params.closedCut != 0
        && !((area[0] > 0.0 && area[1] > 0.0) || (area[0] < 0.0 && area[1] < 0.0))) {
        r.fault = kCheckOrientation;
        r.surface = 1;
    }
    return r;
}

CString PathCheckHint(const PathCheckResult& r)
{
    CString text(u"轨迹检查：");
    if (r.pass > 0) {
        CString pass;
        pass.Format(u"第%d刀", r.pass);
        text += pass;
    }
    if (r.fault != kCheckOrientation && r.fault != kCheckCounts)
        text += r.surface == 1 ? u"上表面" : u"下表面";
    switch (r.fault) {
    case kCheckOk:
        break;
    case kCheckEmpty:
        text += u"没有轨迹段";
        break;
    case kCheckJointOpen: {
        CString s;
        s.Format(u"第%d段与前一段不相连，相差", r.element + 1);
        text += s + Millimetres(r.measured);
        break;
    }
    case kCheckClosingOpen:
        text += CString(u"轮廓没有闭合，相差") + Millimetres(r.measured);
        break;
    case kCheckCrossing:
        text += u"轨迹自相交";
        break;
    case kCheckOrientation:
        text += u"上下表面方向相反";
        break;
    case kCheckTooNear:
        text += At(r.where) + u"离图形" + Millimetres(r.measured) + u"，小于补偿" + Millimetres(r.intended)
                + u"，会切入工件";
        break;
    case kCheckTooFar:
        text += At(r.where) + u"离图形" + Millimetres(r.measured) + u"，大于补偿" + Millimetres(r.intended);
        break;
    case kCheckUncovered:
        text += CString(u"在图形") + At(r.where).Mid(1) + u"处没有补偿轨迹，轮廓缺失";
        break;
    case kCheckCounts:
        text += u"上下表面段数不同";
        break;
    }
    return text;
}
