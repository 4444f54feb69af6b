#pragma once

// What the DXF and ".dat" importers share: their outcome, the unit id
// counter while they run, and the report of an imported drawing.

#include <cstdint>

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "platform/core/CString.h"

enum class ImportResult {
    notOpened,  // the file could not be read; nothing printed
    damaged,    // not a readable file of its kind; nothing kept
    partial,    // stopped at a fault; what was read before stays
    complete,
};

// Imported units are numbered from 1; the old drawing's counter comes back
// when the import is given up (the old drawing stays).
class ImportIdScope {
public:
    ImportIdScope();
    ~ImportIdScope();
    void Keep() { m_keep = true; }

private:
    std::uint64_t m_saved;
    bool m_keep = false;
};

// After a whole import, once units are the drawing: fits the view to them,
// shows "尺寸：W x H (mm)" in the prompt and prints
// "打开文件--<name>    尺寸：W x H (mm)".
void ReportImportedDrawing(const CString& path, const CUnitArray& units);
