#pragma once

// The ".wcx" drawing file: int32 100052, int32 1078, then the drawing list
// as an object array (count, then each unit as a tagged object). Readers
// parse into a list of their own; the document takes it only when the
// whole file was read.

#include <cstdint>
#include <string>

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "platform/core/CString.h"

class CArchive;
class CZorvaDoc;
struct DrawingBox;

constexpr std::int32_t kWcxMagic = 100052;
constexpr std::int32_t kWcxVersion = 1078;

enum class WcxLoad { ok, badMagic, badVersion };

// A drawing file holds the live drawing only: deleted units and temporary
// marks (export numbers, travel lines) are left out.
bool IsSavedUnit(const CUnit* unit);
void StoreDrawing(CArchive& ar, const CUnitArray& units);
// Reads the header and the list into out (which must be empty). Accepts
// only entity classes and no back-references. On an archive or file
// exception out is freed and the exception passes on. With a box, each
// unit computes its extents into it as soon as it is read.
WcxLoad LoadDrawing(CArchive& ar, CUnitArray& out, DrawingBox* box = nullptr);

// Destroys every unit of the list and empties it.
void FreeUnitArray(CUnitArray& units);
std::uint64_t LargestUnitId(const CUnitArray& units);
// True for the classes a drawing may hold.
bool IsEntityClass(const CRuntimeClass* cls);

// Writes the drawing through a temporary file renamed over path; the old
// file stays intact on failure. Clears g_drawingModified on success only.
bool WriteWcxFile(const CString& path, CZorvaDoc& doc, std::string* error = nullptr);

enum class WcxRead { loaded, missing, tooShort, badMagic, badVersion, damaged };
// Reads a drawing into out, and its box into box when given (the fit of the
// view that ends an open). Prints "#打开文件错误" for a file of 4 bytes or
// less and, once the view is ready, the magic and version messages.
WcxRead ReadWcxFile(const CString& path, CUnitArray& out, DrawingBox* box = nullptr);
