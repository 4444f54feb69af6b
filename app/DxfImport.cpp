#include "app/DxfImport.h"

#include <algorithm>

#include "app/CZorvaDoc.h"

std::string DxfNameKey(std::string_view name)
{
    std::string key(name);
    for (char& c : key) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return key;
}

DxfImport::~DxfImport()
{
    for (auto& [name, block] : m_blocks) {
        for (DxfBlockMember& member : block->members)
            delete member.unit;
    }
}

bool DxfImport::Read(std::string_view bytes)
{
    m_reader = DxfReader(bytes);
    Advance();
    while (m_more && !m_finished) {
        if (m_pair.code == 0)
            OnKeyword();
        else
            Advance();
    }
    return m_sawSection && !m_reader.Damaged() && !m_tooManyCopies;
}

void DxfImport::Advance()
{
    m_more = m_reader.Next(m_pair);
}

// Keywords count only as the value of a code 0: a layer or a hatch pattern
// named "LINE" or "TEXT" is no entity.
void DxfImport::OnKeyword()
{
    const std::string_view kind = m_pair.value;
    if (kind == "SECTION") {
        OnSection();
    } else if (kind == "ENDSEC") {
        // Sections after the entities are never read.
        m_finished = m_section == Section::entities;
        m_section = Section::none;
        // Before, a blocks section without its last ENDBLK took the
        // entities of the drawing into that block.
        m_block = nullptr;
        m_inBlock = false;
        Advance();
    } else if (kind == "EOF") {
        m_finished = true;
    } else if (m_section == Section::tables && kind == "LAYER") {
        ReadLayer();
    } else if (m_section == Section::blocks && kind == "BLOCK") {
        ReadBlockHeader();
    } else if (m_section == Section::blocks && kind == "ENDBLK") {
        m_block = nullptr;
        m_inBlock = false;
        CollectPairs();
    } else if (m_section == Section::entities || (m_section == Section::blocks && m_block != nullptr)) {
        ReadEntity(kind);
    } else {
        CollectPairs();
    }
}

void DxfImport::OnSection()
{
    m_sawSection = true;
    CollectPairs();
    const std::string_view name = Text(2);
    if (name == "TABLES")
        m_section = Section::tables;
    else if (name == "BLOCKS")
        m_section = Section::blocks;
    else if (name == "ENTITIES")
        m_section = Section::entities;
    else
        m_section = Section::other;
}

void DxfImport::CollectPairs()
{
    m_pairs.clear();
    for (Advance(); m_more && m_pair.code != 0; Advance())
        m_pairs.push_back(m_pair);
}

const DxfPair* DxfImport::Find(int code) const
{
    for (auto it = m_pairs.rbegin(); it != m_pairs.rend(); ++it) {
        if (it->code == code)
            return &*it;
    }
    return nullptr;
}

double DxfImport::Number(int code, double fallback) const
{
    const DxfPair* pair = Find(code);
    return pair != nullptr ? DxfDouble(pair->value) : fallback;
}

int DxfImport::Integer(int code, int fallback) const
{
    const DxfPair* pair = Find(code);
    return pair != nullptr ? DxfInt(pair->value) : fallback;
}

std::string_view DxfImport::Text(int code) const
{
    const DxfPair* pair = Find(code);
    return pair != nullptr ? pair->value : std::string_view();
}
