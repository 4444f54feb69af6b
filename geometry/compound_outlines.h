#pragma once

// The reference point of a compound shape (the line pieces of a rectangle,
// polygon or polyline that share a group): the area centroid of its outline
// (the start of the group's first live line, then every live line's end, in
// list order), when the outline closes. One piece's grips walk the whole
// drawing for it; a frame that rebuilt the grips of every piece that way was
// quadratic (24,000 pieces of a large DXF took over ten seconds). A pass
// around a frame works out, at the first piece that asks, the outlines of
// every group in one walk, and the pieces read theirs from it.

#include <cstdint>

#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"

struct GroupReference {
    bool closed = false;        // the outline closes and has a centroid
    x_Vector centroid;
};

// The group's reference from the drawing list, walking the whole list.
GroupReference WalkGroupReference(const CUnitArray& list, std::int32_t group);

// While one lives on a thread, GroupReferenceOf of its list answers from
// the outlines worked out at the first call. The list must not change while
// it lives.
class CompoundOutlinePass {
public:
    explicit CompoundOutlinePass(const CUnitArray& list);
    ~CompoundOutlinePass();
    CompoundOutlinePass(const CompoundOutlinePass&) = delete;
    CompoundOutlinePass& operator=(const CompoundOutlinePass&) = delete;

    struct Table;

private:
    Table* m_table;
    Table* m_outer;
};

// The group's reference: from the pass of this thread when it covers the
// group, else by walking the list.
GroupReference GroupReferenceOf(const CUnitArray& list, std::int32_t group);
