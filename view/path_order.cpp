#include "view/path_order.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "app/AppState.h"
#include "geometry/CLine.h"
#include "geometry/CText.h"
#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "view/ViewState.h"
#include "view/path_hooks.h"
#include "view/view_entities.h"

namespace {

constexpr COLORREF kLabelColour = 0x00FF40;
constexpr double kSameCost = 0.1;           // a swap must gain more than this

struct OrderEntry {
    CUnit* path = nullptr;
    int index = -1;
    x_Vector start;
    int partnerIndex = -1;
    x_Vector partnerStart;
};

bool Differs(const x_Vector& a, const x_Vector& b)
{
    return std::fabs(a.x - b.x) >= 0.001 || std::fabs(a.y - b.y) >= 0.001;
}

x_Vector StartOf(CUnit& path)
{
    return g_PathHooks.startPoint != nullptr ? g_PathHooks.startPoint(path) : x_Vector();
}

x_Vector EndOf(CUnit& path)
{
    return g_PathHooks.endPoint != nullptr ? g_PathHooks.endPoint(path) : x_Vector();
}

// Drawing-list indices of the live paths of each non-zero group, ascending:
// a partner is looked for among its group only (a scan of the rest of the
// drawing per path made a large batch quadratic).
using GroupMembers = std::unordered_map<std::int32_t, std::vector<int>>;

GroupMembers PathsByGroup(const CUnitArray& list)
{
    GroupMembers groups;
    for (int j = 0; j < list.GetSize(); ++j) {
        const CUnit* u = list[j];
        if (!u->deleted && u->role == kRolePath && u->group != 0)
            groups[u->group].push_back(j);
    }
    return groups;
}

// The first later selected path of the same non-zero group: the other
// half of a path pair; it is deselected and kept beside the entry.
void FindPartner(CUnitArray& list, const GroupMembers& groups, OrderEntry& e, int from)
{
    if (e.path->group == 0)
        return;
    const auto members = groups.find(e.path->group);
    if (members == groups.end())
        return;
    const std::vector<int>& at = members->second;
    for (auto j = std::lower_bound(at.begin(), at.end(), from); j != at.end(); ++j) {
        CUnit* u = list[*j];
        if (u == e.path || u->unitId == e.path->unitId || !u->selected)
            continue;
        u->selected = 0;
        e.partnerIndex = *j;
        e.partnerStart = StartOf(*u);
        return;
    }
}

// Greedy order from the first entry: slot k takes, in turn, every later
// entry that costs more than kSameCost less than the one it holds. The
// cost is the distance from the path in slot k - 1 plus the entry's own
// distance along the arrangement axis, which is worked out once.
void OrderByNearness(std::vector<OrderEntry>& entries, bool alongX, const x_Vector& min, const x_Vector& c)
{
    struct Slot {
        x_Vector start;
        double axis;
        int entry;
    };
    const int n = static_cast<int>(entries.size());
    std::vector<Slot> slots(n);
    for (int i = 0; i < n; ++i) {
        const x_Vector& s = entries[i].start;
        slots[i] = {s, std::fabs(alongX ? s.x - min.x - c.x : s.y - min.y - c.y), i};
    }
    for (int k = 1; k <= n - 2; ++k) {
        const x_Vector previous = slots[k - 1].start;
        double atK = x_Vector::Distance(slots[k].start, previous) + slots[k].axis;
        for (int j = k + 1; j < n; ++j) {
            const double atJ = x_Vector::Distance(slots[j].start, previous) + slots[j].axis;
            if (atK - kSameCost > atJ) {
                std::swap(slots[k], slots[j]);
                atK = atJ;
            }
        }
    }
    std::vector<OrderEntry> ordered;
    ordered.reserve(n);
    for (const Slot& s : slots)
        ordered.push_back(entries[s.entry]);
    entries.swap(ordered);
}

} // namespace

CUnit* MakeOrderLabel(const x_Vector& at, int number)
{
    ++g_UnitIdCounter;
    auto* label = new CText();
    label->geometry.text.position = label->workGeometry.text.position = at;
    CString text;
    text.Format(u"%d", number);
    label->geometry.text.text = label->workGeometry.text.text = text;
    label->geometry.text.fontSize = label->workGeometry.text.fontSize = 12;
    label->geometry.text.boxSize = label->workGeometry.text.boxSize = 15;
    label->textStyle = 1;
    label->colour = kLabelColour;
    label->complete = label->temporary = 1;
    return label;
}

CUnit* MakeTravelLine(const x_Vector& from, const x_Vector& to)
{
    ++g_UnitIdCounter;
    auto* line = new CLine(from.x, from.y, to.x, to.y);
    line->role = kRoleDerivedPiece;
    line->lineStyle = 2;
    line->chainDir = 2;
    line->complete = line->temporary = 1;
    return line;
}

void NumberPathsForExport(CUnit* first, int index)
{
    if (g_pDoc == nullptr || first == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
    CUnitArray& list = g_pDoc->m_unitList;
    std::vector<OrderEntry> entries(1);
    entries[0].path = first;
    entries[0].index = index;
    entries[0].start = StartOf(*first);
    const GroupMembers groups = PathsByGroup(list);
    FindPartner(list, groups, entries[0], 0);
    first->selected = 1;
    x_Vector min = entries[0].start, max = entries[0].start;
    for (int i = 0; i < list.GetSize(); ++i) {
        CUnit* u = list[i];
        if (u->deleted)
            continue;
        if (u->role != kRolePath) {
            u->selected = 0;
            continue;
        }
        if (u->unitId == first->unitId || !u->selected)
            continue;
        OrderEntry e;
        e.path = u;
        e.index = i;
        e.start = StartOf(*u);
        FindPartner(list, groups, e, i + 1);
        for (const x_Vector& p : {e.start, e.partnerIndex >= 0 ? e.partnerStart : e.start}) {
            min = x_Vector::MinCorner(min, p);
            max = x_Vector::MaxCorner(max, p);
        }
        entries.push_back(e);
    }
    const bool alongX = g_MachiningSettings.batchVertical == 1;
    const x_Vector& p0 = entries[0].start;
    const double toMax = alongX ? std::fabs(p0.x - max.x) : std::fabs(p0.y - max.y);
    const double toMin = alongX ? std::fabs(p0.x - min.x) : std::fabs(p0.y - min.y);
    const x_Vector c = (toMax <= toMin ? max : min) * 2.0;
    OrderByNearness(entries, alongX, min, c);
    const int n = static_cast<int>(entries.size());
    // A pair's second path follows its first one in the export (it used to
    // be left out of the export altogether); the pair shares one number.
    g_SelectedTrailIds.RemoveAll();
    for (OrderEntry& e : entries) {
        AddExportPathId(e.path);
        e.path->selected = 1;
        if (e.partnerIndex >= 0) {
            AddExportPathId(list[e.partnerIndex]);
            list[e.partnerIndex]->selected = 1;
        }
    }
    CUnit* tool = nullptr;
    for (CUnit* u : list)
        if (tool == nullptr && !u->deleted && u->role == kRoleCutPoint)
            tool = u;
    x_Vector previous;
    for (int i = 0; i < n; ++i) {
        CUnit& path = *entries[i].path;
        const x_Vector s = StartOf(path);
        list.Add(MakeOrderLabel(s, i + 1));
        bool hasPrevious = i > 0;
        if (i == 0 && tool != nullptr && Differs(tool->inputPoints[0], x_Vector(0, 0))) {
            previous = tool->inputPoints[0];
            hasPrevious = true;
        }
        if (hasPrevious && Differs(previous, s))
            list.Add(MakeTravelLine(previous, s));
        previous = EndOf(path);
        if (i == n - 1 && tool != nullptr && Differs(s, tool->inputPoints[1]))
            list.Add(MakeTravelLine(s, tool->inputPoints[1]));
    }
}

void OrderAndNumberPaths(CUnit* first, int index)
{
    NumberPathsForExport(first, index);
}
