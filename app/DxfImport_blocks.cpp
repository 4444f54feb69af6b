// The layer table, block definitions and block inserts.

#include "app/DxfImport.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "app/dxf_palette.h"
#include "geometry/GeometryState.h"

namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr int kExternalBlock = 4;           // BLOCK flag: an external reference
// An array insert makes at most this many copies of its block.
constexpr long kMaxInsertCells = 10000;
// Copies that all the inserts of one file may make. Nested blocks multiply:
// before, a few hundred bytes of nested array inserts asked for 10^8 units
// and more, and the import ran the machine out of memory.
constexpr std::size_t kMaxInsertedCopies = 2000000;

// Model and paper space and the pictures of dimensions and hatches have
// names beginning with "*"; "*U" blocks are anonymous inserts and are kept.
bool IsKeptBlockName(const std::string& key)
{
    return !key.empty() && (key[0] != '*' || key.rfind("*U", 0) == 0);
}

} // namespace

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
    if (static_cast<long>(insert.columns) * insert.rows > kMaxInsertCells)
        insert.columns = insert.rows = 1;
    insert.columnSpacing = Number(44);
    insert.rowSpacing = Number(45);
    InsertCopies(*it->second, insert, StyleOfPairs());
}

// Every copy is one group; copies inserted into another block definition
// stay members of that one.
void DxfImport::InsertCopies(const DxfBlock& block, const DxfInsert& insert, const DxfStyle& style)
{
    // Cells are at most kMaxInsertCells, so the product cannot overflow.
    const std::size_t copies = block.members.size() * static_cast<std::size_t>(insert.rows * insert.columns);
    if (copies > kMaxInsertedCopies - m_insertedCopies) {
        m_tooManyCopies = true;
        m_finished = true;
        return;
    }
    m_insertedCopies += copies;
    const int group = m_block == nullptr ? NextGroup() : 0;
    for (int row = 0; row < insert.rows; ++row) {
        for (int column = 0; column < insert.columns; ++column) {
            const x_Vector cell(column * insert.columnSpacing, row * insert.rowSpacing);
            for (const DxfBlockMember& member : block.members) {
                CUnit* copy = TransformedCopy(member.unit, block.base, insert, cell);
                if (copy == nullptr)
                    continue;
                const bool byBlock = member.colourByBlock && style.colourByBlock;
                if (member.colourByBlock)
                    copy->colour = style.colour;
                copy->blockMember = 1;
                copy->complete = 1;
                if (m_block != nullptr) {
                    copy->ownerNo = m_block->number;
                    m_block->members.push_back({copy, byBlock});
                    continue;
                }
                copy->role = kRoleBlockMember;
                copy->group = group;
                m_out.Add(copy);
            }
        }
    }
}

// The member moved from the block's base point to the origin, scaled,
// rotated and moved to the insertion point (and the array cell) in the
// insert's plane, which a downward extrusion mirrors in x.
CUnit* DxfImport::TransformedCopy(CUnit* member, x_Vector base, const DxfInsert& insert, x_Vector cell)
{
    CUnit* copy = nullptr;
    if (!member->Copy(0, copy) || copy == nullptr)
        return nullptr;
    // Pieces of a compound shape commit their whole group in the drawing;
    // this copy belongs to no drawing yet.
    const std::int32_t pieceOf = copy->pieceOf;
    const std::int32_t group = copy->group;
    copy->pieceOf = 0;
    copy->group = 0;
    const x_Vector origin(0.0, 0.0);
    auto commit = [copy](bool done) {
        if (done)
            copy->CommitTransform();
    };
    if (base.x != 0.0 || base.y != 0.0) {
        copy->Move(x_Vector(-base.x, -base.y));
        commit(true);
    }
    const double sx = std::fabs(insert.scaleX), sy = std::fabs(insert.scaleY);
    if (sx != 1.0 || sy != 1.0)
        commit(copy->Scale(origin, x_Vector(sx, sy)));
    if (insert.scaleX < 0.0)
        commit(copy->Mirror(origin, x_Vector(0.0, 1.0)));
    if (insert.scaleY < 0.0)
        commit(copy->Mirror(origin, x_Vector(1.0, 0.0)));
    x_Vector shift = cell;
    if (insert.rotation != 0.0) {
        commit(copy->Rotate(origin, insert.rotation));
        shift.RotateAbout(origin, insert.rotation);
    }
    copy->Move(insert.point + shift);
    commit(true);
    if (insert.mirrored)
        commit(copy->Mirror(origin, x_Vector(0.0, 1.0)));
    copy->pieceOf = pieceOf;
    copy->group = group;
    return copy;
}
