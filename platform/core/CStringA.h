#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/core/format_args.h"

// Byte text (GBK or plain ASCII), as the files and datagrams carry it.
class CStringA {
public:
    CStringA() = default;
    CStringA(const char* text) : m_str(text != nullptr ? text : "") {}
    CStringA(const char* text, int length) : m_str(text, static_cast<size_t>(length > 0 ? length : 0)) {}
    CStringA(char ch, int repeat = 1) : m_str(static_cast<size_t>(repeat > 0 ? repeat : 0), ch) {}
    CStringA(std::string text) : m_str(std::move(text)) {}
    CStringA(std::string_view text) : m_str(text) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch);

    const char* GetString() const { return m_str.c_str(); }
    operator const char*() const { return m_str.c_str(); }
    const std::string& Str() const { return m_str; }

    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    CStringA& operator+=(const CStringA& text) { m_str += text.m_str; return *this; }
    CStringA& operator+=(const char* text) { m_str += text != nullptr ? text : ""; return *this; }
    CStringA& operator+=(char ch) { m_str += ch; return *this; }

    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    // Narrow printf; numbers never take a locale decimal comma.
    template <class... Args>
    void Format(const char* format, const Args&... args) { FormatRaw(format, FormatVarArg<CStringA, std::string>(args)...); }
    template <class... Args>
    void AppendFormat(const char* format, const Args&... args) { AppendFormatRaw(format, FormatVarArg<CStringA, std::string>(args)...); }
    void FormatRaw(const char* format, ...);
    void AppendFormatRaw(const char* format, ...);
    void FormatV(const char* format, va_list args);

    CStringA& Trim();
    CStringA& Trim(char ch);
    CStringA& TrimLeft();
    CStringA& TrimLeft(char ch);
    CStringA& TrimRight();
    CStringA& TrimRight(char ch);

    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;

    CStringA Mid(int first) const;
    CStringA Mid(int first, int count) const;
    CStringA Left(int count) const;
    CStringA Right(int count) const;

    CStringA& MakeLower();
    CStringA& MakeUpper();
    int Replace(char oldCh, char newCh);
    int Replace(const char* oldText, const char* newText);

    friend bool operator==(const CStringA& a, const CStringA& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CStringA& a, const char* b) { return a.Compare(b) == 0; }

private:
    std::string m_str;
};

CStringA operator+(const CStringA& a, const CStringA& b);
CStringA operator+(const CStringA& a, const char* b);
CStringA operator+(const char* a, const CStringA& b);
CStringA operator+(const CStringA& a, char b);
