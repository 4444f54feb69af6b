#pragma once

// Number fields that shape a path or the drawing. Text that is not a
// number (empty included) is refused where a dialog takes its values,
// never read as 0: the field is selected and a hint names it, under the
// field and in the command output list ("#输入有误：钼丝补偿"), and the
// dialog stores nothing. Numbers keep the conversions of their dialog.

#include <vector>

class CWnd;

namespace numfield {

struct Field {
    CWnd* owner;                // the dialog or page that holds the control
    int id;
    const char16_t* name;       // as its label says, without the colon
};

// The control's whole text (blanks around it aside) as a finite number.
bool Read(const CWnd* owner, int id, double& value);
// The control's number, or fallback when its text is none: a field the
// user cannot see or change keeps what was stored.
double Or(const CWnd* owner, int id, double fallback);
// True when every field the user can see and change holds a number; else
// the first that does not is refused and false returned.
bool AllNumbers(const std::vector<Field>& fields);
// Selects the field and shows the hint that names it.
void Refuse(const Field& field);

} // namespace numfield
