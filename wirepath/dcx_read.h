#pragma once

// Reading a ".dcx" export back, as the machining program takes it: the
// header, then per path its parameter record and both element lists.
// Nothing in the drawing program opens these files; the reader checks
// what the export wrote.

#include <vector>

#include "geometry/x_TrailData.h"
#include "platform/core/CString.h"
#include "wirepath/TrailParams.h"
#include "wirepath/dcx_record.h"

class CArchive;

struct DcxPath {
    TrailParams params;
    x_TrailDataArray trails[2]; // lower, upper
};

struct DcxContent {
    DcxHeader header;
    std::vector<DcxPath> paths;
};

enum class DcxRead { ok, missing, badMagic, damaged };

// The header record (bytes 12 to 190); throws the archive exception at an
// early end.
void ReadDcxHeader(CArchive& ar, DcxHeader& header);
// The whole file into out (emptied first). A count the file cannot hold,
// a record that ends early or bytes after the last record make it damaged;
// out is empty then.
DcxRead ReadDcxFile(const CString& path, DcxContent& out);
