#pragma once

// The seven-cut parameter pages of the process table dialog: seven rows
// ("第 1 刀" to "第 7 刀") of the CutParams fields that the machine's
// generator understands under one coding version. A page holds no data:
// it converts between its controls and the seven cuts of a record.

#include <cstdint>
#include <span>

#include "platform/ui/CDialog.h"
#include "wirepath/CutParams.h"

// How a column's control text becomes a field.
enum class CutConversion : std::uint8_t {
    number,     // the decimal number as typed (allowance)
    abs16,      // absolute integer, at most 65535
    abs8,       // absolute integer, at most 255
    x10,        // the number times ten, truncated, within 0..65535
    index,      // the drop-down's item index (255 when none)
};

enum class CutField : std::uint8_t {
    allowance, pulseWidth, pulseInterval, groupWidthOrCurrent, groupIntervalOrVoltage,
    trackValueX10, speedLimit, groupPulse, stepPulse, repeatTime, wireSpeed,
    choice0, choice1, choice2, choice3, choice4,
};

// The items of a drop-down: numbers first..first + count - 1, or texts.
struct CutColumnItems {
    int first = 0;
    int count = 0;
    const char16_t* const* texts = nullptr;
};

struct CutColumn {
    const char16_t* label;      // two lines, "\n" between them
    CutField field;
    CutConversion conversion;
    CutColumnItems items;       // count 0: an edit field
};

struct SevenCutLayout {
    unsigned templateId;
    std::uint8_t codingMode;
    std::span<const CutColumn> columns;
    const int (*ids)[16];       // control ids, [row][column]
};

constexpr int kSevenCutRows = 7;

class CZorva_SkuTab : public CDialog {
public:
    explicit CZorva_SkuTab(const SevenCutLayout& layout);

    // The page of a coding version; null for fast wire and unknown values.
    static const SevenCutLayout* LayoutFor(std::uint8_t codingMode);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;

    // All seven rows into cuts, hidden rows included; fields the page does
    // not show are zero.
    void ReadCuts(CutParams (&cuts)[7]) const;
    // Every row shows its cut (values out of range shown as the Part of
    // each list says, the cuts themselves untouched).
    void ShowCuts(const CutParams (&cuts)[7]);
    // Rows 2 to 7 are shown when their number is at most index + 1.
    void ShowPassRows(int index);
    void SetTitle(const CString& text);
    const SevenCutLayout& Layout() const { return m_layout; }
    // The control of a row (0..6) and column.
    CWnd* CellControl(int row, int column) const;

private:
    const SevenCutLayout& m_layout;
};

class CZorva_SkuTab2 : public CZorva_SkuTab {   // mid-wire HL
public:
    CZorva_SkuTab2();
};
class CZorva_SkuTab3 : public CZorva_SkuTab {   // HF group number
public:
    CZorva_SkuTab3();
};
class CZorva_SkuTab4 : public CZorva_SkuTab {   // HF class-2 parameters
public:
    CZorva_SkuTab4();
};
class CZorva_SkuTab5 : public CZorva_SkuTab {   // HF class-4 parameters
public:
    CZorva_SkuTab5();
};

// The conversions of one cell, shared with the tests.
std::uint16_t ConvertCutText(CutConversion conversion, double number);
// The field's value as a whole number (allowance excluded).
long CutFieldValue(const CutParams& cut, CutField field);
void SetCutFieldValue(CutParams& cut, CutField field, long value);
