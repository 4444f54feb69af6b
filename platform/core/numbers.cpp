#include "platform/core/numbers.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <type_traits>

namespace {

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Switches this thread to the "C" locale for its lifetime.
class CLocaleScope {
public:
    CLocaleScope() : m_old(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_old); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_old;
};

bool IsCSpace(unsigned u)
{
    return u == ' ' || (u >= '\t' && u <= '\r');
}

bool IsNumberChar(unsigned u)
{
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '+' || u == '-'
        || u == '.' || u == '(' || u == ')' || u == '_';
}

// Leading white space and the run of characters a number can hold, as ASCII;
// the indexes stay those of text.
template <class Ch>
std::string NumberPrefix(std::basic_string_view<Ch> text)
{
    std::string out;
    size_t i = 0;
    auto unit = [&](size_t k) { return static_cast<unsigned>(static_cast<std::make_unsigned_t<Ch>>(text[k])); };
    while (i < text.size() && IsCSpace(unit(i)))
        out.push_back(static_cast<char>(unit(i++)));
    while (i < text.size() && IsNumberChar(unit(i)))
        out.push_back(static_cast<char>(unit(i++)));
    return out;
}

double ParseAscii(const std::string& text, size_t* used)
{
    char* end = nullptr;
    const double value = strtod_l(text.c_str(), &end, CLocale());
    if (used != nullptr)
        *used = static_cast<size_t>(end - text.c_str());
    return value;
}

} // namespace

std::string FormatCV(const char* format, va_list args)
{
    CLocaleScope scope;
    va_list copy;
    va_copy(copy, args);
    char small[128];
    const int n = vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0)
        return {};
    if (static_cast<size_t>(n) < sizeof small)
        return std::string(small, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string FormatC(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = FormatCV(format, args);
    va_end(args);
    return out;
}

std::string FormatDouble(double value, int decimals)
{
    return FormatC("%.*f", decimals < 0 ? 0 : decimals, value);
}

double StrToDouble(std::string_view text, size_t* used)
{
    return ParseAscii(NumberPrefix(text), used);
}

double StrToDouble(std::u16string_view text, size_t* used)
{
    return ParseAscii(NumberPrefix(text), used);
}

bool ParseWholeNumber(std::u16string_view text, double& value)
{
    while (!text.empty() && IsCSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsCSpace(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return false;
    size_t used = 0;
    const double parsed = StrToDouble(text, &used);
    if (used != text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}
