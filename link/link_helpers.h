#pragma once

#include "platform/core/CString.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Small stateless helpers of zorvalink: texts, paths, checksums and the
// ANSI (GBK) conversion of the packet layer.

// 1 when the digest was written, 0 when the file cannot be opened.
int GetFileMd5(const CString& path, uint8_t digest[16]);
bool LocalFileExists(const CString& path);
// True when the path (wildcards allowed in its last part) names anything.
bool PathExists(const CString& path);

// Paths split at the last '\' or '/'.
CString GetFileNameFromPath(const CString& path);
CString GetPathHead(const CString& path);
CString GetFileExtension(const CString& name);

CString FormatDecimal2(double value);
CString ShortenText50(const CString& text);
CString IdToHex(const uint8_t id[4]);
CString OwnIpText(uint32_t address);
CString TrimText(const CString& text);

// Removes every space, tab, CR and LF from a 255-byte line buffer.
void StripBlanks(char line[255]);

bool IsLegalFileName(const CString& name);
// A name that may become a file in a folder of the host: legal, not empty,
// not "." or "..".
bool IsSafeFileName(const CString& name);

constexpr int kAnsiArea = 255;
// Zeroes the n-byte area, converts text with its zero byte and returns the
// bytes written (cut at n, and then without a zero byte).
int WideToAnsiN(int n, const CString& text, char* out);
int WideToAnsi255(char out[255], const CString& text);
// Bytes the text needs in ANSI, its zero byte included.
int AnsiLengthWithZero(const CString& text);
// Text of at most 255 bytes, ending at the first zero byte.
CString AnsiBytesToText(const void* bytes, size_t n);

// CRC-32/ISO-HDLC; 0 for an empty range.
uint32_t Crc32(const void* data, size_t length);
