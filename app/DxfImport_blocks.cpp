// The layer table, block definitions and block inserts.

#include "app/DxfImport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "app/dxf_palette.h"
#include "geometry/GeometryState.h"

namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr int kExternalBlock = 4;           // BLOCK flag: an external reference
// An array insert makes at most this many copies of its block.
constexpr long kMaxInsertCells = 10000;
// Copies that all the inserts of one file may make. Nested blocks multiply:
// a few kilobytes of nested inserts ask for 2^50 units and more.
constexpr std::size_t kMaxInsertedCopies = 2000000;
// Levels of nesting an insert may expand: each copy is placed once per
// level, and drawings nest blocks a few levels deep.
constexpr int kMaxNesting = 32;

// Model and paper space and the pictures of dimensions and hatches have
// names beginning with "*"; "*U" blocks are anonymous inserts and are kept.
bool IsKeptBlockName(const std::string& key)
{
    return !key.empty() && (key[0] != '*' || key.rfind("*U", 0) == 0);
}

long Cells(const DxfInsert& insert)
{
    return static_cast<long>(insert.columns) * insert.rows;
}

// Row by row, column by column.
x_Vector CellOffset(const DxfInsert& insert, long index)
{
    return x_Vector(static_cast<double>(index % insert.columns) * insert.columnSpacing,
                    static_cast<double>(index / insert.columns) * insert.rowSpacing);
}

// units + cells x each, held at one past the limit: only whether a count
// passes the limit matters, and the product must not overflow (cells are
// at most kMaxInsertCells, each at most the limit + 1).
std::size_t CappedUnits(std::size_t units, long cells, std::size_t each)
{
    return std::min(kMaxInsertedCopies + 1, units + static_cast<std::size_t>(cells) * each);
}

// The copy moved from the block's base point to the origin, scaled,
// rotated and moved to the insertion point (and the array cell) in the
// insert's plane, which a downward extrusion mirrors in x.
void ApplyPlacement(CUnit* copy, const DxfPlacement& placement)
{
    const DxfInsert& insert = *placement.insert;
    const x_Vector origin(0.0, 0.0);
    auto commit = [copy](bool done) {
        if (done)
            copy->CommitTransform();
    };
    if (placement.base.x != 0.0 || placement.base.y != 0.0) {
        copy->Move(x_Vector(-placement.base.x, -placement.base.y));
        commit(true);
    }
    const double sx = std::fabs(insert.scaleX), sy = std::fabs(insert.scaleY);
    if (sx != 1.0 || sy != 1.0)
        commit(copy->Scale(origin, x_Vector(sx, sy)));
    if (insert.scaleX < 0.0)
        commit(copy->Mirror(origin, x_Vector(0.0, 1.0)));
    if (insert.scaleY < 0.0)
        commit(copy->Mirror(origin, x_Vector(1.0, 0.0)));
    x_Vector shift = placement.cell;
    if (insert.rotation != 0.0) {
        commit(copy->Rotate(origin, insert.rotation));
        shift.RotateAbout(origin, insert.rotation);
    }
    copy->Move(insert.point + shift);
    commit(true);
    if (insert.mirrored)
        commit(copy->Mirror(origin, x_Vector(0.0, 1.0)));
}

// A copy of member placed by every level of the inserts, innermost first.
CUnit* PlacedCopy(CUnit* member, const std::vector<DxfPlacement>& placements)
{
    CUnit* copy = nullptr;
    if (!member->Copy(0, copy) || copy == nullptr)
        return nullptr;
    // Pieces of a compound shape commit their whole group in the drawing;
    // this copy belongs to no drawing yet.
    const std::int32_t pieceOf = copy->pieceOf;
    copy->pieceOf = 0;
    copy->group = 0;
    for (auto it = placements.rbegin(); it != placements.rend(); ++it)
        ApplyPlacement(copy, *it);
    copy->pieceOf = pieceOf;
    return copy;
}

} // namespace

// The expansion of one insert into the drawing.
struct DxfCopyRun {
    int group = 0;
    int ownerNo = 0;                    // the inserted block's number
    std::vector<DxfPlacement> placements;   // outermost first
};

void DxfImport::ReadLayer()
{
    CollectPairs();
    const std::string_view name = Text(2);
    if (name.empty() || !Has(62))
        return;
    DxfStyle style;
    // A negative colour marks a layer that is switched off.
    style.colour = DxfIndexColour(std::abs(Integer(62)));
    DxfLineType(Text(6), style.lineStyle, style.dashDot);
    m_layers[DxfNameKey(name)] = style;
}

void DxfImport::ReadBlockHeader()
{
    CollectPairs();
    m_inBlock = true;
    m_block = nullptr;
    const std::string key = DxfNameKey(Text(2));
    if (!IsKeptBlockName(key) || (Integer(70) & kExternalBlock) != 0 || m_blocks.count(key) != 0)
        return;
    auto block = std::make_unique<DxfBlock>();
    block->number = static_cast<int>(m_blocks.size()) + 1;
    block->base = x_Vector(Number(10), Number(20));
    m_block = block.get();
    m_blocks.emplace(key, std::move(block));
}

void DxfImport::ReadInsert()
{
    const auto it = m_blocks.find(DxfNameKey(Text(2)));
    if (it == m_blocks.end() || it->second.get() == m_block || !Has(10) || !Has(20))
        return;
    DxfInsert insert;
    insert.point = x_Vector(Number(10), Number(20));
    // A scale of 0 would collapse the block onto a point.
    insert.scaleX = Number(41, 1.0) != 0.0 ? Number(41, 1.0) : 1.0;
    insert.scaleY = Number(42, 1.0) != 0.0 ? Number(42, 1.0) : 1.0;
    insert.rotation = Number(50) * kDegree;
    insert.mirrored = Mirrored();
    insert.columns = std::max(1, Integer(70, 1));
    insert.rows = std::max(1, Integer(71, 1));
    if (Cells(insert) > kMaxInsertCells)
        insert.columns = insert.rows = 1;
    insert.columnSpacing = Number(44);
    insert.rowSpacing = Number(45);
    if (m_block != nullptr)
        NestInsert(*it->second, insert, StyleOfPairs());
    else
        InsertCopies(*it->second, insert, StyleOfPairs());
}

// Inside a block definition an insert is only counted; its copies are made
// when the block holding it is inserted into the drawing. The inserted block
// is complete (definitions do not nest), so the counts are final.
void DxfImport::NestInsert(const DxfBlock& block, const DxfInsert& insert, const DxfStyle& style)
{
    m_block->members.push_back({nullptr, false, static_cast<int>(m_block->inserts.size())});
    m_block->inserts.push_back({&block, insert, style});
    m_block->units = CappedUnits(m_block->units, Cells(insert), block.units);
    m_block->levels = std::max(m_block->levels, std::min(block.levels, kMaxNesting) + 1);
}

// Every copy is one group. The copies of every level of nesting are counted
// before the first is made: before, nested copies were made level by level
// and the limit caught them only after hundreds of megabytes.
void DxfImport::InsertCopies(const DxfBlock& block, const DxfInsert& insert, const DxfStyle& style)
{
    const std::size_t copies = CappedUnits(0, Cells(insert), block.units);
    if (block.levels > kMaxNesting || copies > kMaxInsertedCopies - m_insertedCopies) {
        m_tooManyCopies = true;
        m_finished = true;
        return;
    }
    m_insertedCopies += copies;
    DxfCopyRun run;
    run.group = NextGroup();
    run.ownerNo = block.number;
    for (long i = 0; i < Cells(insert); ++i) {
        run.placements.push_back({block.base, &insert, CellOffset(insert, i)});
        CopyMembers(block, run, style.colour);
        run.placements.pop_back();
    }
}

// A member whose colour is by block takes that of the nearest insert around
// it that names one; byBlockColour is that colour for this level.
void DxfImport::CopyMembers(const DxfBlock& block, DxfCopyRun& run, COLORREF byBlockColour)
{
    for (const DxfBlockMember& member : block.members) {
        if (member.unit == nullptr) {
            const DxfNestedInsert& nested = block.inserts[static_cast<std::size_t>(member.nested)];
            const COLORREF colour = nested.style.colourByBlock ? byBlockColour : nested.style.colour;
            for (long i = 0; i < Cells(nested.insert); ++i) {
                run.placements.push_back({nested.block->base, &nested.insert, CellOffset(nested.insert, i)});
                CopyMembers(*nested.block, run, colour);
                run.placements.pop_back();
            }
            continue;
        }
        CUnit* copy = PlacedCopy(member.unit, run.placements);
        if (copy == nullptr)
            continue;
        if (member.colourByBlock)
            copy->colour = byBlockColour;
        copy->blockMember = 1;
        copy->complete = 1;
        copy->ownerNo = run.ownerNo;
        copy->role = kRoleBlockMember;
        copy->group = run.group;
        Append(copy);
    }
}
