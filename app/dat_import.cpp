#include "app/dat_import.h"

#include <cstdio>
#include <string>

#include "app/DocumentUi.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CLine.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "platform/core/files.h"

namespace {

bool IsStripped(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The numbers of a kind after its "=": each but the first follows the next
// ","; false when one is missing before the line ends.
bool ReadNumbers(const char* text, int pos, double* values, int count)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !SkipToChar(',', pos, text))
            return false;
        if (!ParseNumberAnsi(text, pos, values[i]))
            return false;
    }
    return true;
}

CUnit* NewDatUnit(char kind, const double* v)
{
    CUnit* unit = nullptr;
    if (kind == 'L') {
        ++g_UnitIdCounter;
        unit = new CLine(v[0], v[1], v[2], v[3]);
    } else if (kind == 'C') {
        unit = NewCircle(x_Vector(v[0], v[1]), v[2]);
    } else {
        const x_Vector centre(v[0], v[1]), start(v[2], v[3]), end(v[4], v[5]);
        unit = NewArc(centre, x_Vector::Distance(centre, start), x_Vector::AngleTo(centre, start),
                      x_Vector::AngleTo(centre, end), 0);
    }
    unit->complete = 1;
    unit->lineStyle = 0;
    unit->dashDot = 0;
    unit->colour = g_CurrentColor;
    unit->workGeometry = unit->geometry;
    return unit;
}

// One stripped line: false when its numbers cannot be read; unit stays null
// for a line that names no entity.
bool ParseDatLine(const std::string& line, CUnit*& unit)
{
    unit = nullptr;
    const char* text = line.c_str();
    char kind = 0;
    for (int i = 0; text[i] != '\0' && text[i] != '\n' && text[i] != ';'; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        if (c == 'L' || c == 'C' || c == 'A') {
            kind = c;
        } else if (c == '=' && kind != 0) {
            double values[6] = {};
            const int count = kind == 'L' ? 4 : kind == 'C' ? 3 : 6;
            if (!ReadNumbers(text, i + 1, values, count))
                return false;
            unit = NewDatUnit(kind, values);
            return true;
        }
    }
    return true;
}

} // namespace

ImportResult ReadDatFile(const CString& path, CUnitArray& out, int* badLine)
{
    if (!FileExists(path))
        return ImportResult::notOpened;
    std::FILE* f = std::fopen(NativePath(MapWindowsPath(path)).c_str(), "rb");
    if (f == nullptr)
        return ImportResult::notOpened;
    ImportIdScope ids;
    ids.Keep();
    std::string line;
    int number = 0;
    bool atEnd = false;
    while (!atEnd) {
        line.clear();
        int c = 0;
        while ((c = std::fgetc(f)) != EOF && c != '\n') {
            if (!IsStripped(static_cast<char>(c)))
                line.push_back(static_cast<char>(c));
        }
        atEnd = c == EOF;
        if (atEnd && line.empty())
            break;
        ++number;
        CUnit* unit = nullptr;
        if (!ParseDatLine(line, unit)) {
            std::fclose(f);
            if (badLine != nullptr)
                *badLine = number;
            return ImportResult::partial;
        }
        if (unit != nullptr)
            out.Add(unit);
    }
    std::fclose(f);
    return ImportResult::complete;
}

void ReportDatError(int line)
{
    CString text;
    text.Format(u"#未能解析的DAT文件在 %d 行", line);
    DocUi().PrintLine(text);
}

bool ImportDatFile(const CString& path, CUnitArray& out)
{
    int badLine = 0;
    switch (ReadDatFile(path, out, &badLine)) {
    case ImportResult::complete:
        ReportImportedDrawing(path, out);
        return true;
    case ImportResult::partial:
        ReportDatError(badLine);
        return true;
    default:
        // Before, a file that could not be opened was passed over in silence.
        DocUi().PrintLine(u"#打开文件错误");
        return false;
    }
}
