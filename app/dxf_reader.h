#pragma once

// The group pairs of an ASCII DXF file held in memory: a code line, then a
// value line. Values are views into the file's bytes, so the file must
// outlive every pair read from it.

#include <cstddef>
#include <string_view>

#include "platform/core/CString.h"

// A value line keeps at most what a 512-byte line buffer holds besides its
// terminating zero; the rest of a longer line is skipped. A text or a name
// of gigabytes then costs no more than a short one.
constexpr std::size_t kDxfValueBytes = 511;

struct DxfPair {
    int code = -1;
    // Without its line end, at most kDxfValueBytes, cut on a character
    // boundary; text values (codes 1 and 3) keep their blanks, every other
    // value is trimmed.
    std::string_view value;
};

class DxfReader {
public:
    explicit DxfReader(std::string_view bytes);

    // The next pair; false at the end of the file, and at a code line that
    // is not a number (Damaged() then tells).
    bool Next(DxfPair& pair);
    bool Damaged() const { return m_damaged; }

private:
    bool NextLine(std::string_view& line);

    std::string_view m_bytes;
    std::size_t m_at = 0;
    bool m_damaged = false;
};

// The longest start of value that is at most limit bytes and ends on a
// character boundary: of UTF-8 when that start is UTF-8, else of GBK.
std::string_view CutDxfValue(std::string_view value, std::size_t limit);

// Locale-free number values; 0 when the value is not a number.
double DxfDouble(std::string_view value);
int DxfInt(std::string_view value);

// A text value as wide text: UTF-8 when its bytes are valid UTF-8 (files of
// AutoCAD 2007 and later, and older ones written so), else GBK, the ANSI code
// page of the Chinese system that older files are written in whatever their
// $DWGCODEPAGE says. "\U+XXXX" escapes and the %%c, %%d, %%p specials are
// resolved, %%u and %%o dropped.
CString DecodeDxfText(std::string_view bytes);
