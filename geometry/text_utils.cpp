#include "geometry/text_utils.h"

#include "platform/core/CStringArray.h"
#include "platform/core/codepage.h"
#include "platform/core/numbers.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Drops trailing zeros while the character before is not the point.
CString WithoutTrailingZeros(const std::string& text)
{
    std::string s = text;
    while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.')
        s.pop_back();
    return CString(s.c_str());
}

// A double converted to int32 without the undefined cast of an out-of-range value.
int SaturateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

bool IsSeparator(char16_t c)
{
    return c == u'\\' || c == u'/';
}

int LastSeparator(const CString& path)
{
    for (int i = path.GetLength() - 1; i >= 0; --i) {
        if (IsSeparator(path[i]))
            return i;
    }
    return -1;
}

// Copies the GBK form of text into buffer[0, size) with a terminator, whole
// characters only; returns min(size, converted length + 1).
int CopyGbk(const CString& text, char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return 0;
    const std::string gbk = Utf16ToGbk(std::u16string_view(text.GetString()));
    const size_t room = static_cast<size_t>(size) - 1;
    size_t n = 0;
    while (n < gbk.size()) {
        const size_t len = IsGbkLeadByte(static_cast<unsigned char>(gbk[n])) && n + 1 < gbk.size() ? 2 : 1;
        if (n + len > room)
            break;
        n += len;
    }
    memcpy(buffer, gbk.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(std::min(gbk.size() + 1, static_cast<size_t>(size)));
}

std::string UnescapeMountField(std::string_view field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits(field.substr(i + 1, 3));
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                out.push_back(static_cast<char>(std::strtol(digits.c_str(), nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

CString WithSlash(const CString& folder)
{
    return !folder.IsEmpty() && folder[folder.GetLength() - 1] == u'/' ? folder : folder + u'/';
}

} // namespace

CString FormatNumber4(double value)
{
    return WithoutTrailingZeros(FormatDouble(value, 4));
}

CString FormatNumberPrec(int precision, double value)
{
    if (precision != 2 && precision != 3 && precision != 4 && precision != 6)
        return CString();
    return WithoutTrailingZeros(FormatDouble(value, precision));
}

int RoundHalfUpSaturated(double value)
{
    const double down = std::floor(value);
    return SaturateToInt(value - down < 0.5 ? down : std::ceil(value));
}

double Truncate4(double value)
{
    return value >= 0 ? std::floor(value * 10000) / 10000 : std::ceil(value * 10000) / 10000;
}

double TextToDouble(const CString& text)
{
    return StrToDouble(text.View());
}

int TextToInt(const CString& text)
{
    // A plain cast of 1e10 or NaN was undefined; saturate instead.
    return SaturateToInt(TextToDouble(text));
}

bool IsNumberText(const CString& text)
{
    if (text.IsEmpty())
        return false;
    for (char16_t c : text.Str()) {
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'-'))
            return false;
    }
    return true;
}

bool IsIntegerText(const CString& text)
{
    if (text.IsEmpty())
        return false;
    for (char16_t c : text.Str()) {
        if (!((c >= u'0' && c <= u'9') || c == u'-'))
            return false;
    }
    return true;
}

CString TrimString(const CString& text)
{
    CString copy(text);
    copy.TrimRight();
    copy.TrimLeft();
    return copy;
}

void TrimSpacesAnsi(char* text)
{
    if (text == nullptr)
        return;
    size_t end = strlen(text);
    while (end > 0 && text[end - 1] == ' ')
        --end;
    size_t start = 0;
    while (start < end && text[start] == ' ')
        ++start;
    memmove(text, text + start, end - start);
    text[end - start] = '\0';
}

bool SkipToChar(char c, int& pos, const char* text)
{
    if (text == nullptr || pos < 0)
        return false;
    for (int i = pos; text[i] != '\0' && text[i] != '\n' && text[i] != ';'; ++i) {
        if (text[i] == c) {
            pos = i + 1;
            return true;
        }
    }
    return false;
}

bool ParseNumberAnsi(const char* text, int& pos, double& value)
{
    if (text == nullptr || pos < 0)
        return false;
    int i = pos;
    bool negative = false;
    for (;;) {
        while (text[i] == ' ')
            ++i;
        if (text[i] == '\0' || text[i] == '\n')
            return false;
        if (text[i] != '-' && text[i] != '+')
            break;
        negative = text[i++] == '-';
    }

    // The digits went into 32 bits before, so "5000.123456" read as 705.156160.
    // 19 digits always fit 64 bits; leading zeros do not count.
    constexpr int kMaxDigits = 19;
    uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    bool anyDigit = false;
    bool point = false;
    for (;; ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (digits < kMaxDigits) {
                mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
                digits += mantissa != 0 ? 1 : 0;
                exponent -= point ? 1 : 0;
            } else if (!point) {
                ++exponent;
            }
        } else {
            break;
        }
    }
    if (!anyDigit)
        return false;

    double result = static_cast<double>(mantissa);
    if (mantissa != 0) {
        for (; exponent <= -2; exponent += 2)
            result *= 0.01;
        if (exponent == -1)
            result *= 0.1;
        for (; exponent > 0; --exponent)
            result *= 10;
    }
    value = negative ? -result : result;
    pos = i;
    return true;
}

int WideToAnsi(const CString& text, char* buffer, int size)
{
    if (buffer != nullptr && size > 0)
        memset(buffer, 0, static_cast<size_t>(size));
    return CopyGbk(text, buffer, size);
}

int WideToAnsi2(const CString& text, int size, char* buffer)
{
    if (buffer != nullptr && size > 0)
        memset(buffer, 0, static_cast<size_t>(std::min(size, 4)));
    return CopyGbk(text, buffer, size);
}

std::unique_ptr<char[]> WideToAnsiNew(const CString& text)
{
    const std::string gbk = Utf16ToGbk(std::u16string_view(text.GetString()));
    auto out = std::make_unique<char[]>(gbk.size() + 1);
    memcpy(out.get(), gbk.c_str(), gbk.size() + 1);
    return out;
}

CString PathFileName(const CString& path)
{
    return path.Mid(LastSeparator(path) + 1);
}

CString PathFileName2(const CString& path)
{
    return PathFileName(path);
}

CString PathFolderPart(const CString& path)
{
    const int last = LastSeparator(path);
    return last < 0 ? CString() : path.Left(last);
}

CString PathExtension(const CString& name)
{
    return name.Mid(name.ReverseFind(u'.') + 1);
}

CString StripExtension(const CString& name)
{
    const int dot = name.Find(u'.');
    return dot <= 0 ? name : name.Left(dot);
}

bool IsValidFileName(const CString& name)
{
    return name.FindOneOf(u"/\\\":*?<>|\t") < 0;
}

bool ProbeFindFile(const CString& pattern)
{
    ListFolder(pattern.Left(259));
    return true;
}

std::vector<CString> RemovableMediaIn(std::string_view mountTable)
{
    std::vector<CString> found;
    std::istringstream lines{std::string(mountTable)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        if (!(fields >> device >> mountPoint))
            continue;
        const std::string point = UnescapeMountField(mountPoint);
        if (point.rfind("/media/", 0) == 0 || point.rfind("/run/media/", 0) == 0)
            found.push_back(CString::FromUtf8(point));
    }
    return found;
}

void ListDrives(CStringArray& drives)
{
    std::vector<CString> folders{CString(u"/")};
    if (const char* home = getenv("HOME"); home != nullptr && home[0] == '/')
        folders.push_back(CString::FromUtf8(home));
    std::ifstream mounts("/proc/self/mounts");
    std::stringstream table;
    table << mounts.rdbuf();
    for (const CString& media : RemovableMediaIn(table.str()))
        folders.push_back(media);

    std::vector<CString> listed;
    for (const CString& folder : folders) {
        const CString drive = WithSlash(folder);
        if (access(drive.ToUtf8().c_str(), F_OK) != 0)
            continue;
        if (std::find(listed.begin(), listed.end(), drive) != listed.end())
            continue;
        listed.push_back(drive);
        drives.Add(drive);
    }
}
