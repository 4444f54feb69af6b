#include "platform/core/CString.h"

#include "platform/core/codepage.h"
#include "platform/core/numbers.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// One conversion of a format string: %[flags][width][.precision][length]conv.
struct Spec {
    std::string flags;
    int width = -1;
    int precision = -1;
    std::string length;     // as written: h hh l ll L j z t I I32 I64 w q
    char16_t conversion = 0;
};

bool IsFlag(char16_t c)
{
    return c == u'-' || c == u'+' || c == u' ' || c == u'#' || c == u'0';
}

int ReadNumber(const char16_t*& p)
{
    int n = 0;
    while (*p >= u'0' && *p <= u'9') {
        if (n < 100000)
            n = n * 10 + (*p - u'0');
        ++p;
    }
    return n;
}

// Parses after the '%'; leaves p on the conversion character.
Spec ReadSpec(const char16_t*& p, va_list& args)
{
    Spec s;
    while (IsFlag(*p))
        s.flags.push_back(static_cast<char>(*p++));
    if (*p == u'*') {
        ++p;
        s.width = va_arg(args, int);
        if (s.width < 0) {
            s.flags.push_back('-');
            s.width = s.width == INT32_MIN ? 0 : -s.width;
        }
    } else if (*p >= u'0' && *p <= u'9') {
        s.width = ReadNumber(p);
    }
    if (*p == u'.') {
        ++p;
        if (*p == u'*') {
            ++p;
            s.precision = va_arg(args, int);
            if (s.precision < 0)
                s.precision = -1;
        } else {
            s.precision = ReadNumber(p);
        }
    }
    static const char16_t* const kLengths[] = {u"I64", u"I32", u"hh", u"ll", u"h", u"l", u"L", u"j", u"z", u"t", u"I", u"w", u"q"};
    for (const char16_t* len : kLengths) {
        const std::u16string_view l(len);
        if (std::u16string_view(p).substr(0, l.size()) == l) {
            for (char16_t c : l)
                s.length.push_back(static_cast<char>(c));
            p += l.size();
            break;
        }
    }
    s.conversion = *p;
    return s;
}

bool Has(const Spec& s, char flag)
{
    return s.flags.find(flag) != std::string::npos;
}

// The narrow printf spec for a number, with the given length modifier.
std::string NarrowSpec(const Spec& s, const char* length, char conversion)
{
    std::string out = "%" + s.flags;
    if (s.width >= 0)
        out += std::to_string(s.width);
    if (s.precision >= 0)
        out += "." + std::to_string(s.precision);
    out += length;
    out += conversion;
    return out;
}

void AppendAscii(std::u16string& out, const std::string& text)
{
    for (char c : text)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

void AppendPadded(std::u16string& out, const Spec& s, std::u16string_view text)
{
    if (s.precision >= 0 && text.size() > static_cast<size_t>(s.precision))
        text = text.substr(0, static_cast<size_t>(s.precision));
    const size_t pad = s.width > 0 && text.size() < static_cast<size_t>(s.width) ? s.width - text.size() : 0;
    if (Has(s, '-')) {
        out += text;
        out.append(pad, u' ');
    } else {
        out.append(pad, Has(s, '0') ? u'0' : u' ');
        out += text;
    }
}

bool WideText(const Spec& s, bool upper)
{
    if (s.length == "h")
        return false;
    if (s.length == "l" || s.length == "w")
        return true;
    return !upper;
}

long long SignedArg(const Spec& s, va_list& args)
{
    const std::string& l = s.length;
    if (l == "ll" || l == "I64" || l == "L" || l == "q")
        return va_arg(args, long long);
    if (l == "l")
        return va_arg(args, long);
    if (l == "j")
        return va_arg(args, intmax_t);
    if (l == "z" || l == "t" || l == "I")
        return va_arg(args, ptrdiff_t);
    const int v = va_arg(args, int);
    if (l == "h")
        return static_cast<short>(v);
    if (l == "hh")
        return static_cast<signed char>(v);
    return v;
}

unsigned long long UnsignedArg(const Spec& s, va_list& args)
{
    const std::string& l = s.length;
    if (l == "ll" || l == "I64" || l == "L" || l == "q")
        return va_arg(args, unsigned long long);
    if (l == "l")
        return va_arg(args, unsigned long);
    if (l == "j")
        return va_arg(args, uintmax_t);
    if (l == "z" || l == "t" || l == "I")
        return va_arg(args, size_t);
    const unsigned v = va_arg(args, unsigned);
    if (l == "h")
        return static_cast<unsigned short>(v);
    if (l == "hh")
        return static_cast<unsigned char>(v);
    return v;
}

void AppendText(std::u16string& out, const Spec& s, va_list& args)
{
    if (WideText(s, s.conversion == u'S')) {
        const char16_t* text = va_arg(args, const char16_t*);
        AppendPadded(out, s, text != nullptr ? std::u16string_view(text) : std::u16string_view(u"(null)"));
    } else {
        const char* text = va_arg(args, const char*);
        AppendPadded(out, s, Utf8ToUtf16(text != nullptr ? text : "(null)"));
    }
}

void AppendChar(std::u16string& out, const Spec& s, va_list& args)
{
    const int v = va_arg(args, int);
    Spec noPrecision = s;
    noPrecision.precision = -1;
    if (WideText(s, s.conversion == u'C')) {
        const char16_t c = static_cast<char16_t>(v);
        AppendPadded(out, noPrecision, std::u16string_view(&c, 1));
    } else {
        const char c = static_cast<char>(v);
        AppendPadded(out, noPrecision, Utf8ToUtf16(std::string_view(&c, 1)));
    }
}

// Appends one conversion; false when it is not one we know.
bool AppendConversion(std::u16string& out, const Spec& s, va_list& args)
{
    const char conv = static_cast<char>(s.conversion);
    switch (s.conversion) {
    case u'd':
    case u'i':
        AppendAscii(out, FormatC(NarrowSpec(s, "ll", conv).c_str(), SignedArg(s, args)));
        return true;
    case u'u':
    case u'o':
    case u'x':
    case u'X':
        AppendAscii(out, FormatC(NarrowSpec(s, "ll", conv).c_str(), UnsignedArg(s, args)));
        return true;
    case u'f':
    case u'F':
    case u'e':
    case u'E':
    case u'g':
    case u'G':
    case u'a':
    case u'A':
        if (s.length == "L")
            AppendAscii(out, FormatC(NarrowSpec(s, "L", conv).c_str(), va_arg(args, long double)));
        else
            AppendAscii(out, FormatC(NarrowSpec(s, "", conv).c_str(), va_arg(args, double)));
        return true;
    case u'p':
        AppendAscii(out, FormatC(NarrowSpec(s, "", 'p').c_str(), va_arg(args, void*)));
        return true;
    case u's':
    case u'S':
        AppendText(out, s, args);
        return true;
    case u'c':
    case u'C':
        AppendChar(out, s, args);
        return true;
    case u'n':
        va_arg(args, void*);     // never written through: a format must not store
        return true;
    default:
        return false;
    }
}

} // namespace

namespace {

std::u16string FormatToString(const char16_t* format, va_list args)
{
    if (format == nullptr)
        return {};
    va_list ap;
    va_copy(ap, args);
    std::u16string out;
    for (const char16_t* p = format; *p != 0; ++p) {
        if (*p != u'%') {
            out.push_back(*p);
            continue;
        }
        const char16_t* start = p++;
        if (*p == u'%') {
            out.push_back(u'%');
            continue;
        }
        const Spec s = ReadSpec(p, ap);
        if (*p == 0) {
            out.append(start, p);
            break;
        }
        if (!AppendConversion(out, s, ap))
            out.append(start, p + 1);
    }
    va_end(ap);
    return out;
}

} // namespace

// The format may be this string's own text: it is read whole before m_str changes.
void CString::AppendFormatV(const char16_t* format, va_list args)
{
    m_str += FormatToString(format, args);
}

void CString::FormatV(const char16_t* format, va_list args)
{
    m_str = FormatToString(format, args);
}

void CString::FormatRaw(const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormatRaw(const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}
