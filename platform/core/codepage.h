#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CString;
class CStringA;

// Broken sequences become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// GBK (code page 936), the "ANSI" text of files and datagrams.
// Characters GBK cannot hold become '?'; invalid bytes become U+FFFD.
std::string Utf16ToGbk(std::u16string_view text);
std::u16string GbkToUtf16(std::string_view bytes);

CStringA WideToGbk(const CString& text);
CString GbkToWide(const CStringA& bytes);

// True when byte b opens a two-byte GBK character.
inline bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
// The longest prefix of the GBK bytes, at most limit long, that ends
// between two characters.
std::size_t GbkPrefixLength(std::string_view bytes, std::size_t limit);
