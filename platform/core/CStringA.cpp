#include "platform/core/CStringA.h"

#include "platform/core/numbers.h"
#include "platform/core/string_ops.h"

#include <algorithm>

using string_ops::ViewOf;

namespace {

bool IsWhite(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

} // namespace

char CStringA::GetAt(int index) const
{
    return string_ops::UnitAt(m_str, index);
}

void CStringA::SetAt(int index, char ch)
{
    string_ops::SetUnitAt(m_str, index, ch);
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
    string_ops::ReleaseBuffer(m_str, newLength);
}

int CStringA::Compare(const char* text) const
{
    return string_ops::Sign(std::string_view(m_str).compare(ViewOf(text)));
}

int CStringA::CompareNoCase(const char* text) const
{
    return string_ops::CompareNoCase(std::string_view(m_str), ViewOf(text), Lower);
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
    string_ops::TrimLeftWhite(m_str, IsWhite);
    return *this;
}

CStringA& CStringA::TrimLeft(char ch)
{
    string_ops::TrimLeftOf(m_str, ch);
    return *this;
}

CStringA& CStringA::TrimRight()
{
    string_ops::TrimRightWhite(m_str, IsWhite);
    return *this;
}

CStringA& CStringA::TrimRight(char ch)
{
    string_ops::TrimRightOf(m_str, ch);
    return *this;
}

int CStringA::Find(char ch, int start) const
{
    return string_ops::Find(m_str, ch, start);
}

int CStringA::Find(const char* sub, int start) const
{
    return string_ops::Find(m_str, ViewOf(sub), start);
}

int CStringA::ReverseFind(char ch) const
{
    return string_ops::Index(m_str.rfind(ch));
}

CStringA CStringA::Mid(int first) const
{
    return Mid(first, GetLength());
}

CStringA CStringA::Mid(int first, int count) const
{
    return CStringA(string_ops::Mid(m_str, first, count));
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
    return string_ops::ReplaceUnit(m_str, oldCh, newCh);
}

int CStringA::Replace(const char* oldText, const char* newText)
{
    return string_ops::ReplaceText(m_str, ViewOf(oldText), ViewOf(newText));
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
