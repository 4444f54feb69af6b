#include "wirepath/check_pieces.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSpanSlack = 1e-12;        // rad: a point at an arc's end is on it
constexpr double kOnLine = 1e-12;           // fraction of a line beyond its ends still on it
constexpr int kWideCells = 64;              // a piece over more cells is tested by every query

double Cross(const x_Vector& u, const x_Vector& v)
{
    return u.x * v.y - u.y * v.x;
}

double Dot(const x_Vector& u, const x_Vector& v)
{
    return u.x * v.x + u.y * v.y;
}

double Angle(const x_Vector& from, const x_Vector& to)
{
    return std::atan2(to.y - from.y, to.x - from.x);
}

// The sweep of an arc element: its direction's way from start to end
// angle, a full turn when they agree; negative when clockwise.
double SignedSweep(const x_TrailData& e)
{
    const double s = e.startAngle, t = e.endAngle;
    double sweep;
    if (e.direction != 0)
        sweep = s < t + 1e-10 ? (s + kTwoPi) - t : s - t;
    else
        sweep = s > t - 1e-10 ? (t + kTwoPi) - s : t - s;
    if (std::fabs(sweep) < 1e-10)
        sweep = kTwoPi;
    return e.direction != 0 ? -sweep : sweep;
}

bool InSpan(const CheckPiece& q, double phi)
{
    double t = q.sweep > 0.0 ? phi - q.a0 : q.a0 - phi;
    t = std::fmod(t, kTwoPi);
    if (t < 0.0)
        t += kTwoPi;
    const double span = std::fabs(q.sweep);
    return t <= span + kSpanSlack || t >= kTwoPi - kSpanSlack;
}

void ArcBox(CheckPiece& q)
{
    q.x0 = std::min(q.a.x, q.b.x);
    q.x1 = std::max(q.a.x, q.b.x);
    q.y0 = std::min(q.a.y, q.b.y);
    q.y1 = std::max(q.a.y, q.b.y);
    if (InSpan(q, 0.0))
        q.x1 = q.c.x + q.r;
    if (InSpan(q, kPi / 2))
        q.y1 = q.c.y + q.r;
    if (InSpan(q, kPi))
        q.x0 = q.c.x - q.r;
    if (InSpan(q, 3 * kPi / 2))
        q.y0 = q.c.y - q.r;
}

// Whether a point of the piece's carrier lies on the piece.
bool OnPiece(const CheckPiece& q, const x_Vector& x)
{
    if (q.arc)
        return InSpan(q, Angle(q.c, x));
    const x_Vector d = q.b - q.a;
    const double t = Dot(x - q.a, d) / Dot(d, d);
    return t >= -kOnLine && t <= 1.0 + kOnLine;
}

int LineLine(const CheckPiece& p, const CheckPiece& q, x_Vector out[2])
{
    const x_Vector r = p.b - p.a, s = q.b - q.a;
    const double den = Cross(r, s);
    if (den == 0.0)
        return 0;
    out[0] = p.a + r * (Cross(q.a - p.a, s) / den);
    return 1;
}

int LineCircle(const CheckPiece& line, const CheckPiece& circle, x_Vector out[2])
{
    const x_Vector d = line.b - line.a;
    const double len = d.Length();
    const x_Vector u = d / len;
    const double t = Dot(circle.c - line.a, u);
    const x_Vector foot = line.a + u * t;
    const double h = x_Vector::Distance(foot, circle.c);
    if (h > circle.r)
        return 0;
    const double half = std::sqrt(std::max(0.0, circle.r * circle.r - h * h));
    out[0] = foot - u * half;
    out[1] = foot + u * half;
    return half == 0.0 ? 1 : 2;
}

int CircleCircle(const CheckPiece& p, const CheckPiece& q, x_Vector out[2])
{
    const double d = x_Vector::Distance(p.c, q.c);
    if (d == 0.0 || d > p.r + q.r || d < std::fabs(p.r - q.r))
        return 0;
    const double along = (d * d + p.r * p.r - q.r * q.r) / (2.0 * d);
    const double half = std::sqrt(std::max(0.0, p.r * p.r - along * along));
    const x_Vector u = (q.c - p.c) / d;
    const x_Vector m = p.c + u * along;
    const x_Vector n(-u.y, u.x);
    out[0] = m + n * half;
    out[1] = m - n * half;
    return half == 0.0 ? 1 : 2;
}

// Spans of two concentric arcs overlap when an end of one lies on the other.
bool SpansOverlap(const CheckPiece& p, const CheckPiece& q)
{
    return InSpan(p, q.a0) || InSpan(p, q.a0 + q.sweep) || InSpan(q, p.a0) || InSpan(q, p.a0 + p.sweep);
}

} // namespace

double CheckPiece::Length() const
{
    return arc ? r * std::fabs(sweep) : x_Vector::Distance(a, b);
}

x_Vector CheckPiece::At(double t) const
{
    if (arc)
        return c + x_Vector::FromPolar(r, a0 + sweep * t);
    return a + (b - a) * t;
}

x_Vector CheckPiece::Tangent(double t) const
{
    if (!arc)
        return (b - a) / x_Vector::Distance(a, b);
    const double phi = a0 + sweep * t;
    return sweep > 0.0 ? x_Vector(-std::sin(phi), std::cos(phi)) : x_Vector(std::sin(phi), -std::cos(phi));
}

bool MakePiece(const x_TrailData& e, const x_Vector& shift, CheckPiece& out)
{
    out = CheckPiece();
    if (e.IsLine()) {
        out.a = x_Vector(e.start.x + shift.x, e.start.y + shift.y);
        out.b = x_Vector(e.end.x + shift.x, e.end.y + shift.y);
        if (!(x_Vector::Distance(out.a, out.b) > kPieceNoLength))
            return false;
        out.x0 = std::min(out.a.x, out.b.x);
        out.x1 = std::max(out.a.x, out.b.x);
        out.y0 = std::min(out.a.y, out.b.y);
        out.y1 = std::max(out.a.y, out.b.y);
        return true;
    }
    if (!e.IsArc() || !(e.radius >= 1e-10))
        return false;
    out.arc = true;
    out.c = x_Vector(e.centre.x + shift.x, e.centre.y + shift.y);
    out.r = e.radius;
    out.a0 = e.startAngle;
    out.sweep = SignedSweep(e);
    if (!(out.Length() > kPieceNoLength))
        return false;
    out.a = out.At(0.0);
    out.b = out.At(1.0);
    ArcBox(out);
    return true;
}

double PointPieceDistance(const x_Vector& p, const CheckPiece& q, NearestAt* at)
{
    NearestAt where = kAtInside;
    double d;
    if (!q.arc) {
        const x_Vector v = q.b - q.a;
        const double t = Dot(p - q.a, v) / Dot(v, v);
        if (t <= 0.0) {
            where = kAtStart;
            d = x_Vector::Distance(p, q.a);
        } else if (t >= 1.0) {
            where = kAtEnd;
            d = x_Vector::Distance(p, q.b);
        } else {
            d = std::fabs(Cross(v, p - q.a)) / v.Length();
        }
    } else {
        const double fromCentre = x_Vector::Distance(p, q.c);
        if (fromCentre == 0.0 || InSpan(q, Angle(q.c, p))) {
            d = std::fabs(fromCentre - q.r);
        } else {
            const double da = x_Vector::Distance(p, q.a), db = x_Vector::Distance(p, q.b);
            where = da <= db ? kAtStart : kAtEnd;
            d = std::min(da, db);
        }
    }
    if (at != nullptr)
        *at = where;
    return d;
}

int CarrierMeetings(const CheckPiece& p, const CheckPiece& q, x_Vector out[2])
{
    if (!p.arc && !q.arc)
        return LineLine(p, q, out);
    if (p.arc && q.arc)
        return CircleCircle(p, q, out);
    return p.arc ? LineCircle(q, p, out) : LineCircle(p, q, out);
}

// The minimum lies where the two pieces meet, at an end of one of them, or
// between two inner points whose joining segment is normal to both: for a
// line and an arc the arc's points whose radius is normal to the line, for
// two arcs their points on the line of centres.
double PieceDistance(const CheckPiece& p, const CheckPiece& q)
{
    x_Vector meet[2];
    const int n = CarrierMeetings(p, q, meet);
    for (int i = 0; i < n; ++i)
        if (OnPiece(p, meet[i]) && OnPiece(q, meet[i]))
            return 0.0;
    double best = std::min({PointPieceDistance(p.a, q), PointPieceDistance(p.b, q), PointPieceDistance(q.a, p),
                            PointPieceDistance(q.b, p)});
    auto tryArcPoint = [&](const CheckPiece& arc, const x_Vector& dir, const CheckPiece& other) {
        const double phi = std::atan2(dir.y, dir.x);
        if (InSpan(arc, phi))
            best = std::min(best, PointPieceDistance(arc.c + dir * arc.r, other));
    };
    if (p.arc != q.arc) {
        const CheckPiece& arc = p.arc ? p : q;
        const CheckPiece& line = p.arc ? q : p;
        const x_Vector u = (line.b - line.a) / x_Vector::Distance(line.a, line.b);
        const x_Vector normal(-u.y, u.x);
        tryArcPoint(arc, normal, line);
        tryArcPoint(arc, normal * -1.0, line);
    } else if (p.arc) {
        const double d = x_Vector::Distance(p.c, q.c);
        if (d == 0.0) {
            if (SpansOverlap(p, q))
                best = std::min(best, std::fabs(p.r - q.r));
        } else {
            const x_Vector u = (q.c - p.c) / d;
            tryArcPoint(p, u, q);
            tryArcPoint(p, u * -1.0, q);
            tryArcPoint(q, u, p);
            tryArcPoint(q, u * -1.0, p);
        }
    }
    return best;
}

double BoxGap(double ax0, double ay0, double ax1, double ay1, const CheckPiece& q)
{
    const double dx = std::max({0.0, q.x0 - ax1, ax0 - q.x1});
    const double dy = std::max({0.0, q.y0 - ay1, ay0 - q.y1});
    return std::max(dx, dy);
}

PieceGrid::PieceGrid(const std::vector<CheckPiece>& pieces) : m_pieces(pieces), m_seen(pieces.size(), 0u)
{
    if (pieces.empty())
        return;
    double x1 = pieces[0].x1, y1 = pieces[0].y1, sizes = 0.0;
    m_x0 = pieces[0].x0;
    m_y0 = pieces[0].y0;
    for (const CheckPiece& q : pieces) {
        m_x0 = std::min(m_x0, q.x0);
        m_y0 = std::min(m_y0, q.y0);
        x1 = std::max(x1, q.x1);
        y1 = std::max(y1, q.y1);
        sizes += std::max(q.x1 - q.x0, q.y1 - q.y0);
    }
    const double m = static_cast<double>(pieces.size());
    // About one piece per cell along a contour, and no more columns than pieces.
    m_cell = std::max({sizes / m, std::max(x1 - m_x0, y1 - m_y0) / m, 1e-6});
    m_columns = Column(x1) + 1;
    m_rows = Row(y1) + 1;
    std::vector<std::pair<std::int64_t, int>> entries;
    entries.reserve(pieces.size() * 2);
    for (size_t k = 0; k < pieces.size(); ++k) {
        const CheckPiece& q = pieces[k];
        const std::int64_t c0 = Column(q.x0), c1 = Column(q.x1), r0 = Row(q.y0), r1 = Row(q.y1);
        if ((c1 - c0 + 1) * (r1 - r0 + 1) > kWideCells) {
            m_wide.push_back(static_cast<int>(k));
            continue;
        }
        for (std::int64_t r = r0; r <= r1; ++r)
            for (std::int64_t c = c0; c <= c1; ++c)
                entries.emplace_back(r * m_columns + c, static_cast<int>(k));
    }
    std::sort(entries.begin(), entries.end());
    m_items.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || entries[i].first != entries[i - 1].first) {
            m_keys.push_back(entries[i].first);
            m_starts.push_back(static_cast<int>(i));
        }
        m_items.push_back(entries[i].second);
    }
    m_starts.push_back(static_cast<int>(entries.size()));
}

std::int64_t PieceGrid::Column(double x) const
{
    return static_cast<std::int64_t>(std::floor(std::clamp((x - m_x0) / m_cell, -1e9, 1e9)));
}

std::int64_t PieceGrid::Row(double y) const
{
    return static_cast<std::int64_t>(std::floor(std::clamp((y - m_y0) / m_cell, -1e9, 1e9)));
}
