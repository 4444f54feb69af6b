#include "wirepath/dcx_read.h"

#include <cstdint>

#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"
#include "platform/core/exceptions.h"
#include "platform/core/files.h"

namespace {

// A path record is at least its parameter record and two empty lists.
constexpr std::uint64_t kSmallestRecord = kTrailParamsArchiveSize + 2 + 2;

void ReadPoint(CArchive& ar, x_Vector& p)
{
    double x = 0.0, y = 0.0;
    ar >> x >> y;
    p = x_Vector(x, y);
}

void ReadPaths(CArchive& ar, DcxContent& out)
{
    const std::int32_t count = out.header.count;
    if (count < 0)
        throw CArchiveException(CArchiveException::genericException);
    // The count decides nothing before the bytes are there to back it.
    ar.CheckCount(static_cast<std::uint64_t>(count), kSmallestRecord);
    out.paths.resize(static_cast<std::size_t>(count));
    for (DcxPath& path : out.paths) {
        LoadTrailParams(ar, path.params);
        LoadTrailList(ar, path.trails[0]);
        LoadTrailList(ar, path.trails[1]);
    }
    if (ar.BytesLeft() != 0)
        throw CArchiveException(CArchiveException::genericException);
}

} // namespace

void ReadDcxHeader(CArchive& ar, DcxHeader& h)
{
    ar >> h.count >> h.flags[0] >> h.flags[1];
    ReadPoint(ar, h.min);
    ReadPoint(ar, h.max);
    ar >> h.zeros3[0] >> h.zeros3[1] >> h.zeros3[2];
    ReadPoint(ar, h.point);
    ar >> h.bytes[0] >> h.bytes[1] >> h.zeros2[0] >> h.zeros2[1];
    ar >> h.hasCutPoint;
    ReadPoint(ar, h.cutPoint[0]);
    ReadPoint(ar, h.cutPoint[1]);
    ar.ReadExact(h.name, kDcxNameBytes);
}

DcxRead ReadDcxFile(const CString& path, DcxContent& out)
{
    out = DcxContent();
    CFile file;
    if (!FileExists(path) || !file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return DcxRead::missing;
    try {
        CArchive ar(&file, CArchive::load, 4096);
        std::int32_t magic = 0, zero1 = 0, zero2 = 0;
        ar >> magic;
        if (magic != kDcxMagic)
            return DcxRead::badMagic;
        ar >> zero1 >> zero2;
        ReadDcxHeader(ar, out.header);
        ReadPaths(ar, out);
        ar.Close();
    } catch (const CException&) {
        out = DcxContent();
        return DcxRead::damaged;
    }
    return DcxRead::ok;
}
