#include "platform/core/CStringA.h"

#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"

#include <algorithm>
#include <cstring>

namespace {

std::string_view ViewOf(const char* text)
{
    return text != nullptr ? std::string_view(text) : std::string_view();
}

bool IsWhite(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

int Index(size_t pos)
{
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

} // namespace

char CStringA::GetAt(int index) const
{
    if (index < 0 || index > GetLength())
        throw CInvalidArgException();
    return m_str.c_str()[index];
}

void CStringA::SetAt(int index, char ch)
{
    if (index < 0 || index >= GetLength())
        throw CInvalidArgException();
    m_str[static_cast<size_t>(index)] = ch;
}

char* CStringA::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_str.resize(static_cast<size_t>(minLength));
    return m_str.data();
}

char* CStringA::GetBufferSetLength(int length)
{
    m_str.resize(static_cast<size_t>(length > 0 ? length : 0));
    return m_str.data();
}

void CStringA::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(strlen(m_str.c_str()));
    m_str.resize(std::min(static_cast<size_t>(newLength), m_str.size()));
}

int CStringA::Compare(const char* text) const
{
    return Sign(std::string_view(m_str).compare(ViewOf(text)));
}

int CStringA::CompareNoCase(const char* text) const
{
    const std::string_view other = ViewOf(text);
    const size_t n = std::min(m_str.size(), other.size());
    for (size_t i = 0; i < n; ++i) {
        const auto a = static_cast<unsigned char>(Lower(m_str[i]));
        const auto b = static_cast<unsigned char>(Lower(other[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    return Sign(static_cast<int>(m_str.size() > n) - static_cast<int>(other.size() > n));
}

void CStringA::FormatV(const char* format, va_list args)
{
    m_str = format != nullptr ? FormatCV(format, args) : std::string();
}

void CStringA::FormatRaw(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CStringA::AppendFormatRaw(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    if (format != nullptr)
        m_str += FormatCV(format, args);
    va_end(args);
}

CStringA& CStringA::Trim()
{
    return TrimRight().TrimLeft();
}

CStringA& CStringA::Trim(char ch)
{
    return TrimRight(ch).TrimLeft(ch);
}

CStringA& CStringA::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsWhite(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CStringA& CStringA::TrimLeft(char ch)
{
    m_str.erase(0, std::min(m_str.find_first_not_of(ch), m_str.size()));
    return *this;
}

CStringA& CStringA::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsWhite(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

CStringA& CStringA::TrimRight(char ch)
{
    const size_t last = m_str.find_last_not_of(ch);
    m_str.resize(last == std::string::npos ? 0 : last + 1);
    return *this;
}

int CStringA::Find(char ch, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    return Index(m_str.find(ch, static_cast<size_t>(start)));
}

int CStringA::Find(const char* sub, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    return Index(m_str.find(ViewOf(sub), static_cast<size_t>(start)));
}

int CStringA::ReverseFind(char ch) const
{
    return Index(m_str.rfind(ch));
}

CStringA CStringA::Mid(int first) const
{
    return Mid(first, GetLength());
}

CStringA CStringA::Mid(int first, int count) const
{
    first = std::max(first, 0);
    count = std::max(count, 0);
    if (first >= GetLength())
        return CStringA();
    count = std::min(count, GetLength() - first);
    return CStringA(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CStringA CStringA::Left(int count) const
{
    return Mid(0, count);
}

CStringA CStringA::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CStringA& CStringA::MakeLower()
{
    for (char& c : m_str)
        c = Lower(c);
    return *this;
}

CStringA& CStringA::MakeUpper()
{
    for (char& c : m_str)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return *this;
}

int CStringA::Replace(char oldCh, char newCh)
{
    int count = 0;
    for (char& c : m_str) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CStringA::Replace(const char* oldText, const char* newText)
{
    const std::string_view from = ViewOf(oldText);
    const std::string_view to = ViewOf(newText);
    if (from.empty())
        return 0;
    std::string out;
    int count = 0;
    size_t pos = 0;
    for (size_t hit; (hit = m_str.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
        out.append(m_str, pos, hit - pos);
        out += to;
        ++count;
    }
    if (count > 0) {
        out.append(m_str, pos);
        m_str = std::move(out);
    }
    return count;
}

CStringA operator+(const CStringA& a, const CStringA& b)
{
    return CStringA(a.Str() + b.Str());
}

CStringA operator+(const CStringA& a, const char* b)
{
    CStringA out(a);
    out += b;
    return out;
}

CStringA operator+(const char* a, const CStringA& b)
{
    CStringA out(a);
    out += b;
    return out;
}

CStringA operator+(const CStringA& a, char b)
{
    CStringA out(a);
    out += b;
    return out;
}
