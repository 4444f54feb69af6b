#pragma once

// One DXF import: a single pass over the group pairs of an ASCII DXF file.
// It keeps the layer table and the block definitions of the file while it
// reads, and appends the entities of the ENTITIES section, as new units, to
// the list it was given. Reading stops at the end of that section.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/dxf_reader.h"
#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"

// Colour and line style of a layer, or of one entity.
struct DxfStyle {
    COLORREF colour = 0;
    std::int32_t lineStyle = 0;
    std::uint8_t dashDot = 0;
    bool colourByBlock = false;     // colour 0: the inserting block's colour
};

// Where and how a block is inserted.
struct DxfInsert {
    x_Vector point;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotation = 0.0;          // radians
    bool mirrored = false;          // extrusion z below 0
    int columns = 1;                // an array insert: columns x rows copies
    int rows = 1;
    double columnSpacing = 0.0;
    double rowSpacing = 0.0;
};

struct DxfBlock;

// An insert inside a block definition, expanded only when that block is
// inserted into the drawing.
struct DxfNestedInsert {
    const DxfBlock* block = nullptr;
    DxfInsert insert;
    DxfStyle style;
};

// A member of a block definition, or (unit null) one of its nested inserts.
struct DxfBlockMember {
    CUnit* unit = nullptr;
    bool colourByBlock = false;
    int nested = -1;                // index into DxfBlock::inserts
};

struct DxfBlock {
    int number = 0;                 // 1-based, in the order of definition
    x_Vector base;
    std::vector<DxfBlockMember> members;    // in the order of the file
    std::vector<DxfNestedInsert> inserts;
    // Units one insert of the block makes, through every level of nesting
    // (held at most one past the file's limit), and those levels.
    std::size_t units = 0;
    int levels = 1;
};

// One level of an insert being expanded: the inserted block's base point,
// the insert and its array cell.
struct DxfPlacement {
    x_Vector base;
    const DxfInsert* insert = nullptr;
    x_Vector cell;
};

struct DxfDimensionPoints;
struct DxfCopyRun;

// One polyline vertex: its point, the bulge of the segment that starts at
// it, and that segment's colour.
struct DxfVertex {
    x_Vector point;
    double bulge = 0.0;
    COLORREF colour = 0;
};

class DxfImport {
public:
    explicit DxfImport(CUnitArray& out) : m_out(out) {}
    ~DxfImport();
    DxfImport(const DxfImport&) = delete;
    DxfImport& operator=(const DxfImport&) = delete;

    // False when the bytes are no readable ASCII DXF (no section, a code
    // line that is not a number, the binary form).
    bool Read(std::string_view bytes);

private:
    enum class Section { none, tables, blocks, entities, other };

    // --- main loop (DxfImport.cpp) ---
    void Advance();
    void OnKeyword();
    void OnSection();
    // The pairs of the entity whose code 0 was just read, up to the next
    // code 0, into m_pairs.
    void CollectPairs();
    const DxfPair* Find(int code) const;
    bool Has(int code) const { return Find(code) != nullptr; }
    double Number(int code, double fallback = 0.0) const;
    int Integer(int code, int fallback = 0) const;
    std::string_view Text(int code) const;

    // --- tables and blocks (DxfImport_blocks.cpp) ---
    void ReadLayer();
    void ReadBlockHeader();
    void ReadInsert();
    void NestInsert(const DxfBlock& block, const DxfInsert& insert, const DxfStyle& style);
    void InsertCopies(const DxfBlock& block, const DxfInsert& insert, const DxfStyle& style);
    void CopyMembers(const DxfBlock& block, DxfCopyRun& run, COLORREF byBlockColour);

    // --- entities (DxfImport_entities.cpp) ---
    void ReadEntity(std::string_view kind);
    DxfStyle StyleOfPairs() const;
    DxfStyle TextStyleOfPairs() const;
    bool Mirrored() const { return Number(230, 1.0) < 0.0; }
    void Place(CUnit* unit, const DxfStyle& style);
    // The drawing's largest group number + 1; units in block definitions
    // are not in the drawing and change it only once inserted.
    int NextGroup() const { return m_maxGroup + 1; }
    void Append(CUnit* unit);
    void AddLine();
    void AddCircle();
    void AddArc();
    void AddEllipse();
    void AddSpline();
    void AddText(bool multiLine);
    void AddLwPolyline();
    void ReadPolyline();
    void AddPolylinePieces(std::vector<DxfVertex>& vertices, bool closed, bool mirrored, const DxfStyle& style);

    // --- dimensions (DxfImport_dimensions.cpp) ---
    void AddDimension(bool arcDimension);
    CUnit* NewLengthDimension(const DxfDimensionPoints& d, bool rotated);
    CUnit* NewRadialDimension(const DxfDimensionPoints& d, bool diametric);
    CUnit* NewAngleDimension(const DxfDimensionPoints& d, bool twoLines);
    CUnit* NewOrdinateDimension(const DxfDimensionPoints& d);
    CUnit* NewArcDimension(const DxfDimensionPoints& d);

    CUnitArray& m_out;
    DxfReader m_reader{std::string_view()};
    DxfPair m_pair;                 // read, not yet handled
    bool m_more = false;            // m_pair holds a pair
    bool m_finished = false;
    bool m_sawSection = false;
    Section m_section = Section::none;
    std::vector<DxfPair> m_pairs;   // of the entity being read
    std::unordered_map<std::string, DxfStyle> m_layers;     // upper-case names
    std::unordered_map<std::string, std::unique_ptr<DxfBlock>> m_blocks;
    DxfBlock* m_block = nullptr;    // the definition being read, if kept
    bool m_inBlock = false;         // between BLOCK and ENDBLK
    int m_maxGroup = 0;
    std::size_t m_insertedCopies = 0;   // made by block inserts so far
    bool m_tooManyCopies = false;       // or nested too deep
};

// Upper-case ASCII form of a layer or block name (DXF ignores case there).
std::string DxfNameKey(std::string_view name);
