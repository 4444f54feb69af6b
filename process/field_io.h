#pragma once

// Reading and writing the fields of the process dialogs.

#include "platform/core/CString.h"

class CWnd;

namespace proc {

CString FieldText(const CWnd* dialog, int id);
// The text read as a decimal number; text that does not begin with one,
// "nan" and "inf" count as 0.
double FieldNumber(const CWnd* dialog, int id);
// The number truncated toward zero, saturated to the int range.
int FieldInt(const CWnd* dialog, int id);
// The absolute value of FieldInt (the most negative int gives the largest).
int FieldAbsInt(const CWnd* dialog, int id);
bool FieldChecked(const CWnd* dialog, int id);
void SetFieldChecked(CWnd* dialog, int id, bool checked);
void SetFieldInt(CWnd* dialog, int id, int value);

} // namespace proc
