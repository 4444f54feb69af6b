#include "generators/calculator_engine.h"

#include <cmath>

#include "generators/GeneratorState.h"
#include "geometry/text_utils.h"
#include "platform/core/numbers.h"

const char16_t* const kCalcDivideByZero = u"除数不能为零";
const char16_t* const kCalcInvalidInput = u"无效输入";

namespace {

double Value(const CString& display)
{
    return TextToDouble(display);
}

// A number without a value is shown as a refusal, and what follows starts
// afresh from it (its value is 0).
CString Show(double v)
{
    if (!std::isfinite(v))
        return CString(kCalcInvalidInput);
    return FormatCalcNumber(v);
}

} // namespace

CString FormatCalcNumber(double value)
{
    std::string s = FormatDouble(value, 12);
    const size_t point = s.find('.');
    if (point != std::string::npos) {
        while (s.size() > point + 2 && s.back() == '0')
            s.pop_back();
        if (s.size() == point + 2 && s.back() == '0')
            s.resize(point);
    }
    return CString(s.c_str());
}

void CalcOpen()
{
    g_CalcOperator = 0;
    g_CalcNewEntry = 0;
    g_CalcOperandPending = 0;
}

CString CalcAppend(const CString& display, char16_t ch)
{
    CString out = g_CalcNewEntry == 0 ? display + CString(ch, 1) : CString(ch, 1);
    g_CalcNewEntry = 0;
    return out;
}

CString CalcOperator(const CString& display, int op)
{
    g_CalcOperand = 0.0;
    g_CalcOperandPending = 1;
    g_CalcAccumulator = Value(display);
    g_CalcOperator = op;
    g_CalcNewEntry = 1;
    return display;
}

CString CalcEquals(const CString& display)
{
    if (g_CalcOperator == 0)
        return display;
    double b = g_CalcOperand;
    if (g_CalcOperandPending == 1) {
        b = Value(display);
        g_CalcOperand = b;
    }
    const double a = g_CalcAccumulator;
    CString shown;
    switch (g_CalcOperator) {
    case 1: shown = Show(a + b); break;
    case 2: shown = Show(a - b); break;
    case 3: shown = Show(a * b); break;
    default:
        // A division by zero used to show 0 as if it were the quotient.
        shown = b == 0.0 ? CString(kCalcDivideByZero) : Show(a / b);
        break;
    }
    g_CalcOperandPending = 0;
    g_CalcNewEntry = 1;
    g_CalcAccumulator = Value(shown);
    return shown;
}

CString CalcApply(const CString& display, CalcFunction f)
{
    const double x = Value(display);
    g_CalcOperand = x;
    g_CalcNewEntry = 1;
    switch (f) {
    case CalcFunction::sin: return Show(std::sin(x));
    case CalcFunction::cos: return Show(std::cos(x));
    case CalcFunction::tan: return Show(std::tan(x));
    case CalcFunction::inv:
        // The button showed tan x + x; it is the reciprocal its name says.
        return x == 0.0 ? CString(kCalcDivideByZero) : Show(1.0 / x);
    case CalcFunction::sqrt: return Show(std::sqrt(x));
    case CalcFunction::asin: return Show(std::asin(x));
    case CalcFunction::acos: return Show(std::acos(x));
    case CalcFunction::atan: return Show(std::atan(x));
    case CalcFunction::square: return Show(x * x);
    }
    return display;
}

CString CalcClear()
{
    g_CalcOperator = 0;
    return CString();
}

CString CalcBackspace(const CString& display)
{
    return display.IsEmpty() ? display : display.Left(display.GetLength() - 1);
}
