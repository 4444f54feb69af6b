#include "wirepath/dcx_record.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/core/CArchive.h"
#include "platform/core/codepage.h"

namespace {

void WritePoint(CArchive& ar, const x_Vector& p)
{
    ar << p.x << p.y;
}

} // namespace

void WriteDcxHeader(CArchive& ar, const DcxHeader& h)
{
    ar << h.count << std::uint8_t(h.flags[0] ? 1 : 0) << std::uint8_t(h.flags[1] ? 1 : 0);
    WritePoint(ar, h.min);
    WritePoint(ar, h.max);
    ar << h.zeros3[0] << h.zeros3[1] << h.zeros3[2];
    WritePoint(ar, h.point);
    ar << h.bytes[0] << h.bytes[1] << h.zeros2[0] << h.zeros2[1];
    ar << std::uint8_t(h.hasCutPoint ? 1 : 0);
    WritePoint(ar, h.cutPoint[0]);
    WritePoint(ar, h.cutPoint[1]);
    ar.Write(h.name, kDcxNameBytes);
}

// Before, the name was cut at 50 bytes: a long name lost its terminating
// zero and could end in half a character.
void FillDcxName(DcxHeader& h, const CString& fileName)
{
    const int dot = fileName.Find(u'.');
    const CString base = dot < 0 ? fileName : fileName.Left(dot);
    const std::string gbk = Utf16ToGbk(std::u16string_view(base.GetString(), base.GetLength()));
    size_t n = 0;
    while (n < gbk.size()) {
        const size_t width = IsGbkLeadByte(static_cast<unsigned char>(gbk[n])) && n + 1 < gbk.size() ? 2 : 1;
        if (n + width > kDcxNameBytes - 1)
            break;
        n += width;
    }
    std::fill(std::begin(h.name), std::end(h.name), '\0');
    std::copy(gbk.begin(), gbk.begin() + static_cast<std::ptrdiff_t>(n), h.name);
}
