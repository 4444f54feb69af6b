#pragma once

#include "platform/core/CString.h"
#include "platform/core/files.h"   // FileExists: a path that exists and is no folder

#include <memory>
#include <string_view>
#include <vector>

class CStringArray;

// Numbers for the status line, the property panel and dialogs.

// "%.4f" without trailing zeros, keeping one digit after the point: 2 -> "2.0".
CString FormatNumber4(double value);
// The same with 2, 3, 4 or 6 decimals; any other precision gives "".
CString FormatNumberPrec(int precision, double value);
// floor below a fraction of 0.5, else ceil: 2.5 -> 3, -2.5 -> -2. Saturates.
// Inline: the view rounds every point of every frame, and the library's
// floor and ceil are calls. Values beyond the int range and NaN take the
// saturating path.
int RoundHalfUpSaturated(double value);
inline int RoundHalfUp(double value)
{
    if (value > -2147483648.0 && value < 2147483647.0) {
        const int toward = static_cast<int>(value);
        const int down = value < static_cast<double>(toward) ? toward - 1 : toward;
        return value - static_cast<double>(down) < 0.5 ? down : down + 1;
    }
    return RoundHalfUpSaturated(value);
}
// Cut toward zero to 4 decimals.
double Truncate4(double value);

// Reading numbers from typed text.
double TextToDouble(const CString& text);   // 0 when the text begins with no number
int TextToInt(const CString& text);         // truncated; out of range saturates, NaN gives 0
bool IsNumberText(const CString& text);     // only digits, '.' and '-'; not empty
bool IsIntegerText(const CString& text);    // only digits and '-'; not empty
CString TrimString(const CString& text);

// ANSI (GBK) readers of import files.

// Removes blanks (character 32 only) at both ends, in place.
void TrimSpacesAnsi(char* text);
// Moves pos behind the next c; false, pos unchanged, at the end, a line feed or ';'.
bool SkipToChar(char c, int& pos, const char* text);
// Reads a decimal number at text[pos]: signs, blanks, digits, one '.'; pos ends
// on the character that stopped it. False when no digit is found.
bool ParseNumberAnsi(const char* text, int& pos, double& value);

// Wide text to GBK in a buffer of size bytes. The result always ends in a zero
// byte and never holds half a double-byte character. Returns the smaller of
// size and the converted length with its terminator.
int WideToAnsi(const CString& text, char* buffer, int size);
// As WideToAnsi, but zeroes only the first four bytes beforehand.
int WideToAnsi2(const CString& text, int size, char* buffer);
// The GBK text with its terminator in a new array.
std::unique_ptr<char[]> WideToAnsiNew(const CString& text);

// Paths: '\' and '/' both separate folders.
CString PathFileName(const CString& path);    // after the last separator, else all
CString PathFileName2(const CString& path);
CString PathFolderPart(const CString& path);  // before the last separator, else ""
CString PathExtension(const CString& name);   // after the last '.', else all
CString StripExtension(const CString& name);  // before the first '.' (not a leading one)
// False when the name holds / \ " : * ? < > | or a tab.
bool IsValidFileName(const CString& name);

// Runs a folder search for the pattern (at most 259 characters) and ends it;
// always true.
bool ProbeFindFile(const CString& pattern);

// The "drives" of the file browsers: the root folder, the home folder and
// mounted removable media, each ending in '/'.
void ListDrives(CStringArray& drives);
// Mount points of removable media in a mount table (/proc/self/mounts form).
std::vector<CString> RemovableMediaIn(std::string_view mountTable);
