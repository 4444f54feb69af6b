#include "platform/core/codepage.h"

#include "platform/core/CString.h"
#include "platform/core/CStringA.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Reads one code point at text[i]; a broken sequence yields U+FFFD and
// consumes one unit.
char32_t NextUtf16(std::u16string_view text, size_t& i)
{
    const char16_t c = text[i++];
    if (c < 0xD800 || c > 0xDFFF)
        return c;
    if (c <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
        return 0x10000 + ((static_cast<char32_t>(c - 0xD800) << 10) | (text[i++] - 0xDC00));
    return kReplacement;
}

// Reads one code point at text[i]; overlong forms, surrogates and cut
// sequences yield U+FFFD and consume one byte.
char32_t NextUtf8(std::string_view text, size_t& i)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + static_cast<size_t>(extra) >= text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}

// One conversion handle per thread and direction: iconv handles are not
// shared between threads, and opening one per call is slow for line-by-line
// readers.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (Ok())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts one whole character; false when the bytes are not one
    // complete, valid character of the source or have no target form.
    bool One(const char* in, size_t inSize, char* out, size_t outSize, size_t* written)
    {
        if (!Ok())
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t dstLeft = outSize;
        const size_t r = iconv(m_cd, &src, &inSize, &dst, &dstLeft);
        if (r == static_cast<size_t>(-1) || inSize != 0)
            return false;
        size_t flushLeft = dstLeft;
        iconv(m_cd, nullptr, nullptr, &dst, &flushLeft);
        *written = outSize - flushLeft;
        return *written > 0;
    }

private:
    iconv_t m_cd;
};

Converter& ToGbk()
{
    thread_local Converter c("CP936", "UTF-32LE");
    return c;
}

Converter& FromGbk()
{
    thread_local Converter c("UTF-32LE", "CP936");
    return c;
}

void AppendGbk(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return;
    }
    const char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                        static_cast<char>((cp >> 16) & 0xFF), static_cast<char>(cp >> 24)};
    char bytes[8];
    size_t n = 0;
    if (cp != kReplacement && ToGbk().One(in, 4, bytes, sizeof bytes, &n))
        out.append(bytes, n);
    else
        out.push_back('?');
}

// Decodes the character at bytes[i], one or two bytes long.
char32_t NextGbk(std::string_view bytes, size_t& i)
{
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    const size_t len = IsGbkLeadByte(b0) && i + 1 < bytes.size() ? 2 : 1;
    unsigned char out[8];
    size_t n = 0;
    if (FromGbk().One(bytes.data() + i, len, reinterpret_cast<char*>(out), sizeof out, &n) && n == 4) {
        i += len;
        return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<char32_t>(out[3]) << 24));
    }
    ++i;
    return kReplacement;
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        AppendUtf8(out, NextUtf16(text, i));
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        AppendUtf16(out, NextUtf8(text, i));
    return out;
}

std::string Utf16ToGbk(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size();)
        AppendGbk(out, NextUtf16(text, i));
    return out;
}

std::u16string GbkToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();)
        AppendUtf16(out, NextGbk(bytes, i));
    return out;
}

CStringA WideToGbk(const CString& text)
{
    return CStringA(Utf16ToGbk(text.Str()));
}

CString GbkToWide(const CStringA& bytes)
{
    return CString(GbkToUtf16(bytes.Str()));
}

std::size_t GbkPrefixLength(std::string_view bytes, std::size_t limit)
{
    const std::size_t end = bytes.size() < limit ? bytes.size() : limit;
    std::size_t at = 0;
    while (at < end) {
        const std::size_t width = IsGbkLeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
        if (at + width > end)
            break;
        at += width;
    }
    return at;
}
