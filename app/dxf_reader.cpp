#include "app/dxf_reader.h"

#include <charconv>
#include <cstring>
#include <string>

#include "platform/core/codepage.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsTextCode(int code)
{
    return code == 1 || code == 3;
}

bool IsAscii(std::string_view s)
{
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view s)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = p[i];
        int more = 0;
        unsigned lo = 0x80, hi = 0xBF;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            lo = c == 0xE0 ? 0xA0 : 0x80;
            hi = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            lo = c == 0xF0 ? 0x90 : 0x80;
            hi = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= n)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k <= more; ++k) {
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return false;
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// "\U+XXXX" escapes, which older files use for what their code page lacks,
// and the %% specials of single-line texts.
std::u16string ResolveEscapes(std::u16string text)
{
    if (text.find(u'\\') == std::u16string::npos && text.find(u'%') == std::u16string::npos)
        return text;
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\\' && i + 6 < text.size() && (text[i + 1] == u'U' || text[i + 1] == u'u') &&
            text[i + 2] == u'+') {
            int value = 0;
            bool hex = true;
            for (int k = 3; k < 7; ++k) {
                const int h = HexValue(text[i + static_cast<std::size_t>(k)]);
                hex = hex && h >= 0;
                value = value * 16 + (h < 0 ? 0 : h);
            }
            if (hex) {
                out += static_cast<char16_t>(value);
                i += 6;
                continue;
            }
        }
        if (c == u'%' && i + 2 < text.size() && text[i + 1] == u'%') {
            const char16_t kind = text[i + 2];
            const char16_t* special = nullptr;
            switch (kind) {
            case u'c': case u'C': special = u"\u00D8"; break;
            case u'd': case u'D': special = u"\u00B0"; break;
            case u'p': case u'P': special = u"\u00B1"; break;
            case u'%': special = u"%"; break;
            case u'u': case u'U': case u'o': case u'O': special = u""; break;
            default: break;
            }
            if (special != nullptr) {
                out += special;
                i += 2;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::u16string AsciiToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += static_cast<char16_t>(static_cast<unsigned char>(c));
    return out;
}

} // namespace

DxfReader::DxfReader(std::string_view bytes) : m_bytes(bytes)
{
    if (m_bytes.substr(0, 3) == "\xEF\xBB\xBF")
        m_at = 3;
    // The binary form opens with this sentinel; it has no lines to read.
    if (m_bytes.substr(0, 18) == "AutoCAD Binary DXF") {
        m_at = m_bytes.size();
        m_damaged = true;
    }
}

bool DxfReader::NextLine(std::string_view& line)
{
    if (m_at >= m_bytes.size())
        return false;
    const char* start = m_bytes.data() + m_at;
    const std::size_t left = m_bytes.size() - m_at;
    const void* nl = std::memchr(start, '\n', left);
    const std::size_t length = nl != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : left;
    line = std::string_view(start, length);
    m_at += length + (nl != nullptr ? 1 : 0);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

bool DxfReader::Next(DxfPair& pair)
{
    std::string_view codeLine;
    if (!NextLine(codeLine))
        return false;
    codeLine = Trim(codeLine);
    if (codeLine.empty()) {
        // Blank lines may end a file; anywhere else the pairs are out of step.
        m_damaged = !Trim(m_bytes.substr(m_at)).empty();
        return false;
    }
    int code = 0;
    const auto [end, error] = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code);
    if (error != std::errc() || end != codeLine.data() + codeLine.size()) {
        m_damaged = true;
        return false;
    }
    std::string_view value;
    if (!NextLine(value))
        return false;       // a file cut after a code line ends there
    value = CutDxfValue(value, kDxfValueBytes);
    pair.code = code;
    pair.value = IsTextCode(code) ? value : Trim(value);
    return true;
}

std::string_view CutDxfValue(std::string_view value, std::size_t limit)
{
    if (value.size() <= limit)
        return value;
    // Back off the continuation bytes of a UTF-8 character cut in two.
    std::size_t at = limit;
    for (int k = 0; k < 3 && at > 0 && (static_cast<unsigned char>(value[at]) & 0xC0) == 0x80; ++k)
        --at;
    if (IsValidUtf8(value.substr(0, at)))
        return value.substr(0, at);
    return value.substr(0, GbkPrefixLength(value, limit));
}

double DxfDouble(std::string_view value)
{
    value = Trim(value);
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    double result = 0.0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    (void)end;
    return error == std::errc() ? result : 0.0;
}

int DxfInt(std::string_view value)
{
    value = Trim(value);
    if (!value.empty() && value.front() == '+')
        value.remove_prefix(1);
    int result = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
    (void)end;
    return error == std::errc() ? result : 0;
}

CString DecodeDxfText(std::string_view bytes)
{
    std::u16string text;
    if (IsAscii(bytes))
        text = AsciiToUtf16(bytes);
    else if (IsValidUtf8(bytes))
        text = Utf8ToUtf16(bytes);
    else
        text = GbkToUtf16(bytes);
    return CString(ResolveEscapes(std::move(text)));
}
