#pragma once

// The algorithms CString and CStringA share, over the std::basic_string each
// holds. White space and case stay with each class: they differ by unit.

#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/core/exceptions.h"

namespace string_ops {

inline int Sign(int v)
{
    return (v > 0) - (v < 0);
}

// A find result as an index; not found is -1.
inline int Index(size_t pos)
{
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

// A null pointer reads as the empty text.
template <class Ch>
std::basic_string_view<Ch> ViewOf(const Ch* text)
{
    return text != nullptr ? std::basic_string_view<Ch>(text) : std::basic_string_view<Ch>();
}

// Index size() reads the terminating 0; beyond it throws.
template <class Ch>
Ch UnitAt(const std::basic_string<Ch>& s, int index)
{
    if (index < 0 || index > static_cast<int>(s.size()))
        throw CInvalidArgException();
    return s.c_str()[index];
}

template <class Ch>
void SetUnitAt(std::basic_string<Ch>& s, int index, Ch ch)
{
    if (index < 0 || index >= static_cast<int>(s.size()))
        throw CInvalidArgException();
    s[static_cast<size_t>(index)] = ch;
}

// A negative length cuts at the first 0; the text never grows.
template <class Ch>
void ReleaseBuffer(std::basic_string<Ch>& s, int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(std::char_traits<Ch>::length(s.c_str()));
    s.resize(std::min(static_cast<size_t>(newLength), s.size()));
}

// Units compare unsigned after lower(); a longer text with an equal start is greater.
template <class Ch, class Lower>
int CompareNoCase(std::basic_string_view<Ch> a, std::basic_string_view<Ch> b, Lower lower)
{
    using Unit = std::make_unsigned_t<Ch>;
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<Unit>(lower(a[i]));
        const auto y = static_cast<Unit>(lower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return Sign(static_cast<int>(a.size() > n) - static_cast<int>(b.size() > n));
}

template <class Ch, class IsWhite>
void TrimLeftWhite(std::basic_string<Ch>& s, IsWhite isWhite)
{
    size_t i = 0;
    while (i < s.size() && isWhite(s[i]))
        ++i;
    s.erase(0, i);
}

template <class Ch, class IsWhite>
void TrimRightWhite(std::basic_string<Ch>& s, IsWhite isWhite)
{
    size_t n = s.size();
    while (n > 0 && isWhite(s[n - 1]))
        --n;
    s.resize(n);
}

// set: one unit or a view of several.
template <class Ch, class Set>
void TrimLeftOf(std::basic_string<Ch>& s, const Set& set)
{
    s.erase(0, std::min(s.find_first_not_of(set), s.size()));
}

template <class Ch, class Set>
void TrimRightOf(std::basic_string<Ch>& s, const Set& set)
{
    const size_t last = s.find_last_not_of(set);
    s.resize(last == std::basic_string<Ch>::npos ? 0 : last + 1);
}

// what: one unit or a view; a start outside 0..size() finds nothing.
template <class Ch, class What>
int Find(const std::basic_string<Ch>& s, const What& what, int start)
{
    if (start < 0 || start > static_cast<int>(s.size()))
        return -1;
    return Index(s.find(what, static_cast<size_t>(start)));
}

// Up to count units from first, both clamped into the text.
template <class Ch>
std::basic_string<Ch> Mid(const std::basic_string<Ch>& s, int first, int count)
{
    const int length = static_cast<int>(s.size());
    first = std::max(first, 0);
    count = std::max(count, 0);
    if (first >= length)
        return {};
    count = std::min(count, length - first);
    return s.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

template <class Ch>
int ReplaceUnit(std::basic_string<Ch>& s, Ch oldCh, Ch newCh)
{
    int count = 0;
    for (Ch& c : s) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

// Every match of a non-empty from, left to right without overlap; the count.
template <class Ch>
int ReplaceText(std::basic_string<Ch>& s, std::basic_string_view<Ch> from, std::basic_string_view<Ch> to)
{
    if (from.empty())
        return 0;
    std::basic_string<Ch> out;
    int count = 0;
    size_t pos = 0;
    for (size_t hit; (hit = s.find(from, pos)) != std::basic_string<Ch>::npos; pos = hit + from.size()) {
        out.append(s, pos, hit - pos);
        out += to;
        ++count;
    }
    if (count > 0) {
        out.append(s, pos);
        s = std::move(out);
    }
    return count;
}

} // namespace string_ops
