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
