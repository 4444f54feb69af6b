#pragma once

// Reading and writing the controls of the path dialogs and their pages, and
// the saturating conversions of typed numbers into the byte and word fields
// of a cut (a value that does not fit is stored as the nearest one that
// does, never wrapped).

#include <cstdint>
#include <initializer_list>

#include "platform/core/CString.h"
#include "platform/ui/wintypes.h"

class CComboBox;
class CWnd;

namespace pathdlg {

CString Text(const CWnd* dialog, int id);
// The control's text as wcstod reads it: text that is not a number, and
// "nan" or "inf", give 0.
double Number(const CWnd* dialog, int id);
// FormatNumber4 of value.
void SetNumber4(CWnd* dialog, int id, double value);
void SetText(CWnd* dialog, int id, const char16_t* text);

bool Checked(const CWnd* dialog, int id);
void SetChecked(CWnd* dialog, int id, bool checked);
void Enable(CWnd* dialog, int id, bool enable);
void Show(CWnd* dialog, int id, bool show);

CComboBox* Combo(const CWnd* dialog, int id);
// Fills a drop-down list and makes its open list extraHeight pixels taller
// than the rows need.
void FillCombo(CWnd* dialog, int id, std::initializer_list<const char16_t*> items, int extraHeight);
// Numbers first..last as "%d" items.
void FillComboNumbers(CWnd* dialog, int id, int first, int last, int extraHeight);
// Selects index; an index outside the list selects entry 0.
void SelectCombo(CWnd* dialog, int id, int index);
// The selected index, -1 when none.
int ComboIndex(const CWnd* dialog, int id);

// Truncated toward zero, taken as absolute value, at most limit.
std::uint32_t AbsoluteAtMost(double value, std::uint32_t limit);
// A typed tracking value: ten times it, truncated toward zero, within
// 0..1000 (a negative value is 0).
std::uint16_t TrackFromTyped(double value);
// A combo index as a choice byte: no selection (-1) is 0.
std::uint8_t ChoiceFromIndex(int index);

} // namespace pathdlg
