#pragma once

// ".dat" text geometry: one entity per text line, a kind letter, "=" and
// numbers separated by ",", up to an optional ";":
//   L=x1,y1,x2,y2          line
//   C=cx,cy,r              circle
//   A=cx,cy,x1,y1,x2,y2    arc from (x1, y1) to (x2, y2), counter-clockwise

#include "app/import_common.h"

// Reads the file's entities into out (new units, numbered from 1; out must
// be empty). A line that cannot be parsed ends the reading: the result is
// partial, *badLine its 1-based number, and out keeps the earlier entities.
ImportResult ReadDatFile(const CString& path, CUnitArray& out, int* badLine = nullptr);
// "#未能解析的DAT文件在 %d 行".
void ReportDatError(int line);

// Open's import: reads, reports (a file that cannot be read with
// "#打开文件错误"), and tells whether out replaces the drawing (also after a
// bad line, with what came before it; the view then keeps its place).
bool ImportDatFile(const CString& path, CUnitArray& out);
