#include "generators/calculator_engine.h"

#include <gtest/gtest.h>

#include <string>

#include "generators/GeneratorState.h"

namespace {

// Presses the buttons of a sequence: digits and ".", the four operators,
// "=", "CE", "<" (back) and the function names.
CString Press(const std::u16string& keys)
{
    CString display;
    size_t i = 0;
    const struct { const char16_t* name; CalcFunction f; } kFunctions[] = {
        {u"sin", CalcFunction::sin},   {u"cos", CalcFunction::cos},   {u"tan", CalcFunction::tan},
        {u"inv", CalcFunction::inv},   {u"sqrt", CalcFunction::sqrt}, {u"asin", CalcFunction::asin},
        {u"acos", CalcFunction::acos}, {u"atan", CalcFunction::atan}, {u"X2", CalcFunction::square},
    };
    while (i < keys.size()) {
        const char16_t c = keys[i];
        if (c == u' ') {
            ++i;
            continue;
        }
        if ((c >= u'0' && c <= u'9') || c == u'.') {
            display = CalcAppend(display, c);
        } else if (std::u16string(u"+-*/").find(c) != std::u16string::npos) {
            display = CalcOperator(display, int(std::u16string(u"+-*/").find(c)) + 1);
        } else if (c == u'=') {
            display = CalcEquals(display);
        } else if (c == u'<') {
            display = CalcBackspace(display);
        } else if (keys.compare(i, 2, u"CE") == 0) {
            display = CalcClear();
            i += 2;
            continue;
        } else {
            bool found = false;
            for (const auto& f : kFunctions) {
                const std::u16string name(f.name);
                if (keys.compare(i, name.size(), name) == 0) {
                    display = CalcApply(display, f.f);
                    i += name.size();
                    found = true;
                    break;
                }
            }
            EXPECT_TRUE(found) << "unknown key at " << i;
            if (!found)
                return display;
            continue;
        }
        ++i;
    }
    return display;
}

class CalculatorTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetGeneratorState();
        CalcOpen();
    }
};

TEST_F(CalculatorTest, Sequences)
{
    const struct {
        const char* name;
        const char16_t* keys;
        const char16_t* shown;
    } kCases[] = {
        {"no chaining: 2 + 3 + 4 =", u"2+3+4=", u"7"},
        {"repeated equals", u"2+3=", u"5"},
        {"repeated equals, twice", u"2+3==", u"8"},
        {"square root", u"9sqrt", u"3"},
        {"square", u"2X2", u"4"},
        {"a third", u"1/3=", u"0.333333333333"},
        {"two points with the buttons", u"1..5", u"1..5"},
        {"inv is the reciprocal", u"4inv", u"0.25"},
        {"backspace", u"123<", u"12"},
        {"division by zero", u"7/0=", u"除数不能为零"},
        {"inv of zero", u"0inv", u"除数不能为零"},
        {"square root of a negative number", u"2-5=sqrt", u"无效输入"},
        {"asin beyond 1", u"2asin", u"无效输入"},
        {"a new number after an error", u"7/0=5", u"5"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        ResetGeneratorState();
        CalcOpen();
        EXPECT_EQ(Press(c.keys), CString(c.shown));
    }
}

TEST_F(CalculatorTest, ClearKeepsTheAccumulatorAndStopsEquals)
{
    EXPECT_EQ(Press(u"2+3="), CString(u"5"));
    EXPECT_EQ(Press(u"CE="), CString());
    EXPECT_EQ(g_CalcAccumulator, 5.0);
    EXPECT_EQ(g_CalcOperator, 0);
}

TEST_F(CalculatorTest, FormatCalcNumber)
{
    EXPECT_EQ(FormatCalcNumber(5), CString(u"5"));
    EXPECT_EQ(FormatCalcNumber(2.5), CString(u"2.5"));
    EXPECT_EQ(FormatCalcNumber(-0.125), CString(u"-0.125"));
    EXPECT_EQ(FormatCalcNumber(100), CString(u"100"));
}

} // namespace
