#include "link/link_helpers.h"

#include "platform/core/codepage.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

#include <cstring>
#include <cwctype>

int GetFileMd5(const CString& path, uint8_t digest[16])
{
    return MD5OfFile(path.GetString(), digest) ? 1 : 0;
}

bool LocalFileExists(const CString& path)
{
    return FileExists(path);
}

bool PathExists(const CString& path)
{
    if (path.IsEmpty())
        return false;
    if (path.FindOneOf(u"*?") < 0)
        return FileExists(path) || FolderExists(path);
    return !ListFolder(path).empty();
}

namespace {

int LastSeparator(const CString& path)
{
    for (int i = path.GetLength() - 1; i >= 0; --i)
        if (path[i] == u'\\' || path[i] == u'/')
            return i;
    return -1;
}

} // namespace

CString GetFileNameFromPath(const CString& path)
{
    int i = LastSeparator(path);
    return i < 0 ? path : path.Mid(i + 1);
}

CString GetPathHead(const CString& path)
{
    int i = LastSeparator(path);
    return i < 0 ? CString() : path.Left(i);
}

CString GetFileExtension(const CString& name)
{
    int i = name.ReverseFind(u'.');
    return i < 0 ? name : name.Mid(i + 1);
}

CString FormatDecimal2(double value)
{
    CString text;
    text.Format(u"%.2f", value);
    if (text.GetLength() == 1)
        return text;
    int i = text.GetLength() - 1;
    while (i >= 1 && text[i - 1] != u'.' && text[i] == u'0') {
        text = text.Left(i);
        --i;
    }
    return text;
}

CString ShortenText50(const CString& text)
{
    if (text.GetLength() < 50)
        return text;
    return CString(u"...") + text.Right(50);
}

CString IdToHex(const uint8_t id[4])
{
    CString text;
    text.Format(u"%02X%02X%02X%02X", id[3], id[2], id[1], id[0]);
    return text;
}

CString OwnIpText(uint32_t address)
{
    uint8_t b[4];
    std::memcpy(b, &address, 4);
    CString text;
    text.Format(u"%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    return text;
}

CString TrimText(const CString& text)
{
    CString copy = text;
    copy.Trim();
    return copy;
}

void StripBlanks(char line[255])
{
    char scratch[255] = {};
    int out = 0;
    for (int i = 0; i < 255 && line[i] != 0; ++i) {
        char c = line[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            scratch[out++] = c;
    }
    std::memcpy(line, scratch, 255);
}

bool IsLegalFileName(const CString& name)
{
    static const char16_t kForbidden[] = u"/\\\":*?<>|\t";
    for (const char16_t* p = kForbidden; *p != 0; ++p)
        if (name.Find(*p) >= 0)
            return false;
    return true;
}

bool IsSafeFileName(const CString& name)
{
    if (name.IsEmpty() || name == u"." || name == u"..")
        return false;
    for (int i = 0; i < name.GetLength(); ++i)
        if (name[i] < 0x20)
            return false;
    return IsLegalFileName(name);
}

int WideToAnsiN(int n, const CString& text, char* out)
{
    std::memset(out, 0, static_cast<size_t>(n));
    std::string bytes = Utf16ToGbk(text.View());
    // The zero byte belongs to the need; a text with an inner zero ends there.
    size_t need = std::strlen(bytes.c_str()) + 1;
    size_t count = need < static_cast<size_t>(n) ? need : static_cast<size_t>(n);
    std::memcpy(out, bytes.c_str(), count);
    return static_cast<int>(count);
}

int WideToAnsi255(char out[255], const CString& text)
{
    return WideToAnsiN(kAnsiArea, text, out);
}

int AnsiLengthWithZero(const CString& text)
{
    return static_cast<int>(std::strlen(Utf16ToGbk(text.View()).c_str()) + 1);
}

CString AnsiBytesToText(const void* bytes, size_t n)
{
    char area[kAnsiArea + 1] = {};
    std::memcpy(area, bytes, n < kAnsiArea ? n : kAnsiArea);
    return CString(GbkToUtf16(std::string_view(area)));
}

namespace {

// entry[0] is the byte-wise table; entry[k][b] advances the register over
// b followed by k zero bytes, so that eight bytes take one step of eight
// look-ups (every block of a transfer is checked twice).
struct CrcTable {
    uint32_t entry[8][256];
    constexpr CrcTable() : entry()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i;
            for (int k = 0; k < 8; ++k)
                r = (r & 1) != 0 ? (r >> 1) ^ 0xEDB88320u : r >> 1;
            entry[0][i] = r;
        }
        for (int k = 1; k < 8; ++k)
            for (uint32_t i = 0; i < 256; ++i)
                entry[k][i] = (entry[k - 1][i] >> 8) ^ entry[0][entry[k - 1][i] & 0xFF];
    }
};

constexpr CrcTable kCrcTable;

uint32_t Load32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

uint32_t Crc32(const void* data, size_t length)
{
    if (length == 0)
        return 0;
    const auto& t = kCrcTable.entry;
    uint32_t reg = 0xFFFFFFFFu;
    const auto* p = static_cast<const uint8_t*>(data);
    for (; length >= 8; p += 8, length -= 8) {
        const uint32_t lo = Load32(p) ^ reg;
        const uint32_t hi = Load32(p + 4);
        reg = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24]
              ^ t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    }
    for (; length > 0; ++p, --length)
        reg = (reg >> 8) ^ t[0][(reg ^ *p) & 0xFF];
    return ~reg;
}
