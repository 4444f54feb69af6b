#include "geometry/compound_outlines.h"

#include <cmath>
#include <unordered_map>
#include <vector>

#include "geometry/CUnit.h"
#include "geometry/path_services.h"
#include "platform/core/CArray.h"

namespace {

bool IsOutlineLine(CUnit* u, std::int32_t group)
{
    return u != nullptr && !u->deleted && u->group == group && group != 0 && u->GetType() == 1;
}

// first start, then every end; closed within 0.001 in x and y.
GroupReference ReferenceOf(const x_VectorArray& outline)
{
    GroupReference r;
    if (outline.IsEmpty())
        return r;
    const x_Vector first = outline[0];
    const x_Vector last = outline[outline.GetSize() - 1];
    if (std::fabs(first.x - last.x) >= 0.001 || std::fabs(first.y - last.y) >= 0.001)
        return r;
    // A shape of zero area has no centroid; its NaN became the grip before.
    const x_Vector c = PolygonCentroid(outline.GetData(), static_cast<int>(outline.GetSize()));
    if (c.valid && std::isfinite(c.x) && std::isfinite(c.y)) {
        r.closed = true;
        r.centroid = c;
    }
    return r;
}

void AddToOutline(x_VectorArray& outline, CUnit* u)
{
    if (outline.IsEmpty())
        outline.Add(u->GetStartPoint());
    outline.Add(u->GetEndPoint());
}

} // namespace

struct CompoundOutlinePass::Table {
    const CUnitArray* list = nullptr;
    bool built = false;
    std::unordered_map<std::int32_t, GroupReference> references;

    void Build();
};

namespace {

// The pass of this thread: the worker draws path pieces through its own
// DC while the GUI thread renders.
thread_local CompoundOutlinePass::Table* t_pass = nullptr;

} // namespace

GroupReference WalkGroupReference(const CUnitArray& list, std::int32_t group)
{
    x_VectorArray outline;
    for (CUnit* u : list)
        if (IsOutlineLine(u, group))
            AddToOutline(outline, u);
    return ReferenceOf(outline);
}

// At the first question of the pass: a frame without stale pieces (every
// frame after the first) pays nothing.
void CompoundOutlinePass::Table::Build()
{
    built = true;
    // Every group's outline in one walk: a first walk to find the groups
    // with stale pieces cost as much as this one (a large drawing's units do
    // not stay in the caches), and a group's outline is cheap.
    std::unordered_map<std::int32_t, x_VectorArray> outlines;
    for (CUnit* u : *list) {
        if (u == nullptr || u->group == 0 || u->deleted || u->GetType() != 1)
            continue;
        AddToOutline(outlines[u->group], u);
    }
    references.reserve(outlines.size());
    for (const auto& [group, outline] : outlines)
        references.emplace(group, ReferenceOf(outline));
}

CompoundOutlinePass::CompoundOutlinePass(const CUnitArray& list) : m_table(new Table), m_outer(t_pass)
{
    m_table->list = &list;
    t_pass = m_table;
}

CompoundOutlinePass::~CompoundOutlinePass()
{
    t_pass = m_outer;
    delete m_table;
}

GroupReference GroupReferenceOf(const CUnitArray& list, std::int32_t group)
{
    if (t_pass != nullptr && t_pass->list == &list) {
        if (!t_pass->built)
            t_pass->Build();
        const auto found = t_pass->references.find(group);
        if (found != t_pass->references.end())
            return found->second;
    }
    return WalkGroupReference(list, group);
}
