#pragma once

#include "platform/ui/CWnd.h"

// Moves values between a dialog's members and its controls: to the
// controls when m_bSaveAndValidate is FALSE, back when TRUE. A value that
// does not convert is reported to the user and ends the exchange.
class CDataExchange {
public:
    // Thrown by Fail; UpdateData turns it into FALSE.
    struct Failure {};

    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;

    // The control id (null when the template has none).
    CWnd* PrepareCtrl(int id);
    // Puts the focus on the last control and ends the exchange.
    [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, long& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, float& value);
// Check box: 0, 1 (or 2 for three-state boxes).
void DDX_Check(CDataExchange* pDX, int id, int& value);
// id is the first radio button of its group: index of the checked one, -1 none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// Selected index of a combo box (-1 none).
void DDX_CBIndex(CDataExchange* pDX, int id, int& value);
void DDX_CBString(CDataExchange* pDX, int id, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int id, int& value);
// Binds a window object to the control the first time.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
