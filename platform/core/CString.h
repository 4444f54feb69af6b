#pragma once

#include <compare>
#include <cstdarg>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/core/format_args.h"

// Wide text of the program: UTF-16 code units, a value type.
class CString {
public:
    CString() = default;
    CString(const char16_t* text);
    CString(const char16_t* text, int length);
    CString(char16_t ch, int repeat = 1);
    CString(std::u16string text) : m_str(std::move(text)) {}
    CString(std::u16string_view text) : m_str(text) {}
    CString(const char* utf8);

    CString& operator=(const char16_t* text);
    CString& operator=(const char* utf8);
    CString& operator=(char16_t ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    // Index GetLength() reads the terminating 0; beyond it throws.
    char16_t GetAt(int index) const;
    char16_t operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char16_t ch);

    const char16_t* GetString() const { return m_str.c_str(); }
    operator const char16_t*() const { return m_str.c_str(); }
    const std::u16string& Str() const { return m_str; }
    std::u16string_view View() const { return m_str; }

    // Room for at least minLength units; ReleaseBuffer(-1) cuts at the first 0.
    char16_t* GetBuffer(int minLength = 0);
    char16_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    CString& operator+=(const CString& text);
    CString& operator+=(const char16_t* text);
    CString& operator+=(const char* utf8);
    CString& operator+=(char16_t ch);
    void Append(const char16_t* text, int length) { m_str.append(text, static_cast<size_t>(length > 0 ? length : 0)); }
    void AppendChar(char16_t ch) { m_str.push_back(ch); }

    int Compare(const char16_t* text) const;
    int CompareNoCase(const char16_t* text) const;

    // printf rules; %s and %c take char16_t texts, %hs and %S take UTF-8 char*.
    // A CString or std::u16string argument is passed as its text.
    template <class... Args>
    void Format(const char16_t* format, const Args&... args) { FormatRaw(format, FormatVarArg<CString, std::u16string>(args)...); }
    template <class... Args>
    void AppendFormat(const char16_t* format, const Args&... args) { AppendFormatRaw(format, FormatVarArg<CString, std::u16string>(args)...); }
    void FormatRaw(const char16_t* format, ...);
    void AppendFormatRaw(const char16_t* format, ...);
    void FormatV(const char16_t* format, va_list args);
    void AppendFormatV(const char16_t* format, va_list args);

    // White space, one character, or any of a set.
    CString& Trim();
    CString& Trim(char16_t ch);
    CString& Trim(const char16_t* set);
    CString& TrimLeft();
    CString& TrimLeft(char16_t ch);
    CString& TrimLeft(const char16_t* set);
    CString& TrimRight();
    CString& TrimRight(char16_t ch);
    CString& TrimRight(const char16_t* set);

    int Find(char16_t ch, int start = 0) const;
    int Find(const char16_t* sub, int start = 0) const;
    int ReverseFind(char16_t ch) const;
    int FindOneOf(const char16_t* set) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char16_t* set) const;
    CString SpanExcluding(const char16_t* set) const;
    // Next token after start, split at any of delims; start becomes -1 at the end.
    CString Tokenize(const char16_t* delims, int& start) const;

    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();

    int Replace(char16_t oldCh, char16_t newCh);
    int Replace(const char16_t* oldText, const char16_t* newText);
    int Remove(char16_t ch);
    int Insert(int index, char16_t ch);
    int Insert(int index, const char16_t* text);
    int Delete(int index, int count = 1);

    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view utf8);

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.Compare(b) == 0; }
    friend bool operator==(const CString& a, const char* utf8) { return a == CString(utf8); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_str <=> b.m_str; }
    friend std::strong_ordering operator<=>(const CString& a, const char16_t* b) { return a.Compare(b) <=> 0; }

private:
    std::u16string m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char16_t* b);
CString operator+(const char16_t* a, const CString& b);
CString operator+(const CString& a, char16_t b);
CString operator+(char16_t a, const CString& b);
CString operator+(const CString& a, const char* utf8);
CString operator+(const char* utf8, const CString& b);

// Writes the text as UTF-8 (logs, test failure messages).
std::ostream& operator<<(std::ostream& os, const CString& s);

template <>
struct std::hash<CString> {
    size_t operator()(const CString& s) const noexcept { return std::hash<std::u16string>()(s.Str()); }
};
