// The check of a path as built: each surface's list is taken apart into its
// lead lines, its contour and the over-cut that runs over the start again,
// and the contour is checked against what contour building intended.
//
//   lead-in | contour from S round to S (excursions inside) | over-cut | lead-out

#include <cmath>

#include "wirepath/TrailPath.h"
#include "wirepath/path_check.h"

namespace {

constexpr std::uint8_t kRoleLead = 1;
constexpr std::uint8_t kRoleExcursion = 7;
constexpr double kJointExact = 1e-6;        // mm: as the joint rule

bool Degenerate(const x_TrailData& e)
{
    return e.IsLine() ? e.start == e.end : !(e.radius >= 1e-10);
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

// The index after the contour of a closed cut: past the first element
// that brings the contour back to its start, and the excursions and
// points that follow it there; -1 when it never comes back.
int ClosingEnd(const x_TrailDataArray& list, int first, int last)
{
    const x_Vector start = list[first].StartPoint();
    bool moved = false;
    for (int i = first; i <= last; ++i) {
        const x_TrailData& e = list[i];
        if (e.role == kRoleExcursion || Degenerate(e))
            continue;
        moved = true;
        if (x_Vector::Distance(e.EndPoint(), start) > kJointExact)
            continue;
        int end = i + 1;
        while (end <= last && (list[end].role == kRoleExcursion || Degenerate(list[end])))
            ++end;
        return end;
    }
    return moved ? -1 : last + 1;
}

PathCheckResult OnSurface(PathCheckResult r, int surface)
{
    r.surface = surface;
    return r;
}

PathCheckResult CheckSurface(const TrailPath& path, int k, int& first, int& end)
{
    const x_TrailDataArray& list = path.lists[k];
    PathCheckResult r = CheckJoints(list);
    if (!r.Ok())
        return OnSurface(r, k);
    int last = 0;
    if (!ContourSpan(list, first, last)) {
        r.fault = kCheckEmpty;
        return OnSurface(r, k);
    }
    const bool closed = path.params.closedCut != 0;
    end = closed ? ClosingEnd(list, first, last) : last + 1;
    if (end < 0) {
        r.fault = kCheckClosingOpen;
        r.element = last;
        r.where = list[last].EndPoint();
        r.measured = x_Vector::Distance(r.where, list[first].StartPoint());
        return OnSurface(r, k);
    }
    const SurfaceIntent& intent = path.intent[k];
    const x_TrailDataArray& reference = path.unshifted[intent.reference != 0 ? 1 : 0];
    r = CheckContour(list.GetData() + first, last - first + 1, end - first, reference, intent, closed);
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
    int first[2] = {0, 0}, end[2] = {0, 0};
    for (int k = 0; k < surfaces; ++k) {
        const PathCheckResult r = CheckSurface(path, k, first[k], end[k]);
        if (!r.Ok())
            return r;
    }
    PathCheckResult r;
    if (surfaces == 2 && path.lists[0].GetSize() != path.lists[1].GetSize()) {
        r.fault = kCheckCounts;
        return r;
    }
    if (surfaces == 2 && path.params.closedCut != 0
        && !SameOrientation(path.lists[0].GetData() + first[0], end[0] - first[0],
                            path.lists[1].GetData() + first[1], end[1] - first[1])) {
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
