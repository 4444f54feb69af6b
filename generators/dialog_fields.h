#pragma once

// Reading and writing the number fields of the generator dialogs.

#include "platform/core/CString.h"

class CComboBox;
class CWnd;

// The control's text read as a decimal number; text that does not begin
// with a number, and "nan" or "inf", count as 0.
double FieldNumber(const CWnd* dialog, int id);
// The same truncated toward zero; values beyond the int range saturate.
int FieldInt(const CWnd* dialog, int id);
// A number truncated toward zero as FieldInt takes it.
int TruncatedInt(double value);
// Writes FormatNumber4 of value.
void SetFieldNumber4(CWnd* dialog, int id, double value);
CString FieldText(const CWnd* dialog, int id);
CComboBox* FieldCombo(const CWnd* dialog, int id);
bool FieldChecked(const CWnd* dialog, int id);
void SetFieldChecked(CWnd* dialog, int id, bool checked);
void EnableField(CWnd* dialog, int id, bool enable);
