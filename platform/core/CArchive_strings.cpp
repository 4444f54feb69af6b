#include "platform/core/CArchive.h"

#include "platform/core/codepage.h"

#include <string>

// Wide string: 0xFF, the marker 0xFFFE, the length in characters (one byte
// below 255; else 0xFF and 16 bits below 0xFFFE; else 0xFF, 0xFFFF and 32
// bits), then the UTF-16 units without terminator. A 16-bit 0xFFFE would read
// as the marker, which is why 65534 takes the 32-bit form.
void CArchive::WriteWideString(const CString& text)
{
    size_t length = static_cast<size_t>(text.GetLength());
    *this << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(0xFFFE);
    if (length < 0xFF) {
        *this << static_cast<uint8_t>(length);
    } else {
        *this << static_cast<uint8_t>(0xFF);
        if (length < 0xFFFE) {
            *this << static_cast<uint16_t>(length);
        } else {
            *this << static_cast<uint16_t>(0xFFFF) << static_cast<uint32_t>(length);
        }
    }
    if (length > 0)
        Write(text.GetString(), static_cast<unsigned>(length * sizeof(char16_t)));
}

namespace {

// The length prefix of either string form; wide is set by the 0xFFFE marker.
uint64_t ReadStringLength(CArchive& ar, bool& wide)
{
    uint8_t b;
    uint16_t w;
    wide = false;
    ar >> b;
    if (b < 0xFF)
        return b;
    ar >> w;
    if (w == 0xFFFE) {
        wide = true;
        ar >> b;
        if (b < 0xFF)
            return b;
        ar >> w;
    }
    if (w < 0xFFFF)
        return w;
    uint32_t d;
    ar >> d;
    if (d < 0xFFFFFFFFu)
        return d;
    uint64_t q;
    ar >> q;
    return q;
}

} // namespace

CString CArchive::ReadWideString()
{
    bool wide;
    uint64_t length = ReadStringLength(*this, wide);
    const uint64_t unit = wide ? 2 : 1;
    CheckCount(length, unit);
    if (wide) {
        std::u16string units(static_cast<size_t>(length), u'\0');
        ReadExact(units.data(), units.size() * sizeof(char16_t));
        return CString(std::move(units));
    }
    std::string bytes(static_cast<size_t>(length), '\0');
    ReadExact(bytes.data(), bytes.size());
    return CString(GbkToUtf16(bytes));
}

CArchive& operator<<(CArchive& ar, const CString& text)
{
    ar.WriteWideString(text);
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& text)
{
    text = ar.ReadWideString();
    return ar;
}
