#include "platform/core/CString.h"

#include "platform/core/codepage.h"
#include "platform/core/string_ops.h"

#include <algorithm>
#include <ostream>

using string_ops::ViewOf;

namespace {

// White space as the wide-character classification of a UTF-8 locale sees it.
bool IsWhite(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x85 || c == 0x1680 || (c >= 0x2000 && c <= 0x2006)
        || (c >= 0x2008 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x205F || c == 0x3000;
}

// Case mapping of ASCII, Latin-1, Greek and Cyrillic letters; the rest
// (CJK above all) has no case.
char16_t ToLower(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 0x20);
    if ((c >= 0x391 && c <= 0x3AB && c != 0x3A2))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    return c;
}

char16_t ToUpper(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x430 && c <= 0x44F))
        return static_cast<char16_t>(c - 0x20);
    if ((c >= 0x3B1 && c <= 0x3CB && c != 0x3C2))
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    return c;
}

} // namespace

CString::CString(const char16_t* text) : m_str(ViewOf(text)) {}

CString::CString(const char16_t* text, int length)
{
    if (text != nullptr && length > 0)
        m_str.assign(text, static_cast<size_t>(length));
}

CString::CString(char16_t ch, int repeat) : m_str(static_cast<size_t>(repeat > 0 ? repeat : 0), ch) {}

CString::CString(const char* utf8) : m_str(Utf8ToUtf16(utf8 != nullptr ? utf8 : "")) {}

CString& CString::operator=(const char16_t* text)
{
    m_str = ViewOf(text);
    return *this;
}

CString& CString::operator=(const char* utf8)
{
    m_str = Utf8ToUtf16(utf8 != nullptr ? utf8 : "");
    return *this;
}

CString& CString::operator=(char16_t ch)
{
    m_str.assign(1, ch);
    return *this;
}

char16_t CString::GetAt(int index) const
{
    return string_ops::UnitAt(m_str, index);
}

void CString::SetAt(int index, char16_t ch)
{
    string_ops::SetUnitAt(m_str, index, ch);
}

char16_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_str.resize(static_cast<size_t>(minLength));
    return m_str.data();
}

char16_t* CString::GetBufferSetLength(int length)
{
    m_str.resize(static_cast<size_t>(length > 0 ? length : 0));
    return m_str.data();
}

void CString::ReleaseBuffer(int newLength)
{
    string_ops::ReleaseBuffer(m_str, newLength);
}

CString& CString::operator+=(const CString& text)
{
    m_str += text.m_str;
    return *this;
}

CString& CString::operator+=(const char16_t* text)
{
    m_str += ViewOf(text);
    return *this;
}

CString& CString::operator+=(const char* utf8)
{
    m_str += Utf8ToUtf16(utf8 != nullptr ? utf8 : "");
    return *this;
}

CString& CString::operator+=(char16_t ch)
{
    m_str += ch;
    return *this;
}

int CString::Compare(const char16_t* text) const
{
    return string_ops::Sign(std::u16string_view(m_str).compare(ViewOf(text)));
}

int CString::CompareNoCase(const char16_t* text) const
{
    return string_ops::CompareNoCase(std::u16string_view(m_str), ViewOf(text), ToLower);
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char16_t ch)
{
    return TrimRight(ch).TrimLeft(ch);
}

CString& CString::Trim(const char16_t* set)
{
    return TrimRight(set).TrimLeft(set);
}

CString& CString::TrimLeft()
{
    string_ops::TrimLeftWhite(m_str, IsWhite);
    return *this;
}

CString& CString::TrimLeft(char16_t ch)
{
    string_ops::TrimLeftOf(m_str, ch);
    return *this;
}

CString& CString::TrimLeft(const char16_t* set)
{
    string_ops::TrimLeftOf(m_str, ViewOf(set));
    return *this;
}

CString& CString::TrimRight()
{
    string_ops::TrimRightWhite(m_str, IsWhite);
    return *this;
}

CString& CString::TrimRight(char16_t ch)
{
    string_ops::TrimRightOf(m_str, ch);
    return *this;
}

CString& CString::TrimRight(const char16_t* set)
{
    string_ops::TrimRightOf(m_str, ViewOf(set));
    return *this;
}

int CString::Find(char16_t ch, int start) const
{
    return string_ops::Find(m_str, ch, start);
}

int CString::Find(const char16_t* sub, int start) const
{
    return string_ops::Find(m_str, ViewOf(sub), start);
}

int CString::ReverseFind(char16_t ch) const
{
    return string_ops::Index(m_str.rfind(ch));
}

int CString::FindOneOf(const char16_t* set) const
{
    const std::u16string_view chars = ViewOf(set);
    return chars.empty() ? -1 : string_ops::Index(m_str.find_first_of(chars));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    return CString(string_ops::Mid(m_str, first, count));
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char16_t* set) const
{
    const size_t n = m_str.find_first_not_of(ViewOf(set));
    return CString(m_str.substr(0, n));
}

CString CString::SpanExcluding(const char16_t* set) const
{
    const size_t n = m_str.find_first_of(ViewOf(set));
    return CString(m_str.substr(0, n));
}

CString CString::Tokenize(const char16_t* delims, int& start) const
{
    const std::u16string_view set = ViewOf(delims);
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CString();
    }
    const size_t from = set.empty() ? static_cast<size_t>(start) : m_str.find_first_not_of(set, static_cast<size_t>(start));
    if (from == std::u16string::npos) {
        start = -1;
        return CString();
    }
    size_t to = set.empty() ? m_str.size() : m_str.find_first_of(set, from);
    if (to == std::u16string::npos)
        to = m_str.size();
    start = static_cast<int>(std::min(to + 1, m_str.size()));
    return CString(m_str.substr(from, to - from));
}

CString& CString::MakeLower()
{
    for (char16_t& c : m_str)
        c = ToLower(c);
    return *this;
}

CString& CString::MakeUpper()
{
    for (char16_t& c : m_str)
        c = ToUpper(c);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

int CString::Replace(char16_t oldCh, char16_t newCh)
{
    return string_ops::ReplaceUnit(m_str, oldCh, newCh);
}

int CString::Replace(const char16_t* oldText, const char16_t* newText)
{
    return string_ops::ReplaceText(m_str, ViewOf(oldText), ViewOf(newText));
}

int CString::Remove(char16_t ch)
{
    const auto end = std::remove(m_str.begin(), m_str.end(), ch);
    const int count = static_cast<int>(m_str.end() - end);
    m_str.erase(end, m_str.end());
    return count;
}

int CString::Insert(int index, char16_t ch)
{
    index = std::clamp(index, 0, GetLength());
    m_str.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char16_t* text)
{
    index = std::clamp(index, 0, GetLength());
    m_str.insert(static_cast<size_t>(index), ViewOf(text));
    return GetLength();
}

int CString::Delete(int index, int count)
{
    index = std::max(index, 0);
    if (count > 0 && index < GetLength())
        m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

std::string CString::ToUtf8() const
{
    return Utf16ToUtf8(m_str);
}

CString CString::FromUtf8(std::string_view utf8)
{
    return CString(Utf8ToUtf16(utf8));
}

CString operator+(const CString& a, const CString& b)
{
    return CString(a.Str() + b.Str());
}

CString operator+(const CString& a, const char16_t* b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(const char16_t* a, const CString& b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(const CString& a, char16_t b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(char16_t a, const CString& b)
{
    CString out(a);
    out += b;
    return out;
}

CString operator+(const CString& a, const char* utf8)
{
    CString out(a);
    out += utf8;
    return out;
}

CString operator+(const char* utf8, const CString& b)
{
    CString out(utf8);
    out += b;
    return out;
}

std::ostream& operator<<(std::ostream& os, const CString& s)
{
    return os << s.ToUtf8();
}
