#pragma once

#include "platform/ui/CWnd.h"
#include "platform/ui/dialog_template.h"

// What every dialog control shares: creation of its widget, the reflected
// control-colour message and the hook run when a window object takes over
// an existing control.
class CControlBase : public CWnd {
    DECLARE_DYNAMIC(CControlBase)
public:
    // Reflected control colour: a brush to paint the control with (after
    // setting up dc), or null to leave the choice to the parent window.
    virtual HBRUSH CtlColor(CDC* dc, UINT nCtlColor);
    // Runs when the object takes over an existing control (DDX_Control).
    virtual void PreSubclassWindow() {}
    // Takes over parent's control nID and runs PreSubclassWindow.
    BOOL SubclassControl(UINT nID, CWnd* parent);
    BOOL SubclassDlgItem(UINT nID, CWnd* parent) { return SubclassControl(nID, parent); }
    // Stops (FALSE) or resumes repainting while the control is refilled.
    void SetRedraw(BOOL redraw = TRUE);

    // A new control of kind as a child of parent; rect in pixels.
    BOOL CreateControl(CtlKind kind, const CString& caption, DWORD style, const RECT& rect, CWnd* parent, UINT nID);
};

// A window object of the class that fits the control kind (CButton,
// CEdit, ...) over a new widget; the caller owns it.
CWnd* CreateControlFromTemplate(const DlgItemTemplate& item, CWnd* parent);
