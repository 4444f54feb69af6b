#pragma once

// DXF import: lines, circles, arcs, polylines (as grouped pieces), splines,
// ellipses and elliptic arcs, texts, dimensions and inserted blocks of an
// ASCII DXF file, read in one pass over its group pairs.

#include <string_view>

#include "app/import_common.h"

// Reads the file's entities into out (new units, numbered from 1; out must
// be empty). Prints nothing. On a result other than complete, out is empty
// and the unit id counter is as before.
ImportResult DXF_ReadFile(const CString& path, CUnitArray& out);
// The same over bytes in memory.
ImportResult DXF_ReadBytes(std::string_view bytes, CUnitArray& out);

// Open's import: reads the file, reports one that cannot be read with
// "#打开文件错误" and a damaged one with "#文件错误!"; true when out is to
// replace the drawing.
bool ImportDxfFile(const CString& path, CUnitArray& out);
