#pragma once

// The pocket calculator behind its dialog: one binary operation at a time
// (no precedence, no chaining) and nine functions of the shown number. The
// numbers and flags are the program-wide g_Calc* globals; the display text
// is the dialog's edit.

#include "platform/core/CString.h"

// "%.12f" without trailing zeros (one digit kept after the point), then a
// final ".0" removed: 5 -> "5", 2.5 -> "2.5".
CString FormatCalcNumber(double value);

// Functions of the shown number, in button order sin .. x^2.
enum class CalcFunction { sin, cos, tan, inv, sqrt, asin, acos, atan, square };

// Shown instead of a number that has no value.
extern const char16_t* const kCalcDivideByZero;
extern const char16_t* const kCalcInvalidInput;

// The display after the key; each reads and writes the g_Calc* state.
CString CalcAppend(const CString& display, char16_t ch);     // a digit or "."
CString CalcOperator(const CString& display, int op);        // 1 +, 2 -, 3 *, 4 /
CString CalcEquals(const CString& display);
CString CalcApply(const CString& display, CalcFunction f);
CString CalcClear();                                         // "CE" and "C"
CString CalcBackspace(const CString& display);
// Resets the operator and the two flags, as opening the dialog does.
void CalcOpen();
