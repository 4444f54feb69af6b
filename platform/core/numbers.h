#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

// Number text that never depends on the process locale: always a '.'.

// "%.*f" of value.
std::string FormatDouble(double value, int decimals);

// snprintf in the "C" locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatCV(const char* format, va_list args);

// wcstod rules: leading white space, sign, digits, '.', exponent, inf and nan.
// *used gets the count of characters read (0 when there is no number).
double StrToDouble(std::u16string_view text, size_t* used = nullptr);
double StrToDouble(std::string_view text, size_t* used = nullptr);
// The whole text, white space around it aside, is one finite number by
// those rules: false for empty text, "1x", "nan" and "inf"; value is set
// only on true.
bool ParseWholeNumber(std::u16string_view text, double& value);
