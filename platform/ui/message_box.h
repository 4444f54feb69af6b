#pragma once

#include "platform/core/CString.h"

#include <functional>

class CWnd;

// Button sets, icons and default-button flags of a message box.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_YESNOCANCEL = 0x0003;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_RETRYCANCEL = 0x0005;
constexpr unsigned MB_TYPEMASK = 0x000F;
constexpr unsigned MB_ICONHAND = 0x0010;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONASTERISK = 0x0040;
constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr unsigned MB_ICONMASK = 0x00F0;
constexpr unsigned MB_DEFBUTTON1 = 0x0000;
constexpr unsigned MB_DEFBUTTON2 = 0x0100;
constexpr unsigned MB_DEFBUTTON3 = 0x0200;

// Dialog and message-box results; also the ids of the standard buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// One message box as the program asks for it.
struct MessageBoxRequest {
    CString text;
    CString caption;
    unsigned type = MB_OK;
};

// Shows a modal message box and returns the id of the button chosen.
// Escape gives IDCANCEL where there is a cancel button, IDOK for MB_OK.
int ShowMessageBox(CWnd* owner, const CString& text, const CString& caption, unsigned type);

// The framework's application-wide box; caption "提示".
int AfxMessageBox(const CString& text, unsigned type = MB_OK, unsigned helpId = 0);

// Replaces the box by a call (tests answer boxes this way); an empty
// function restores the real box. Returns the previous hook.
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// True when nobody can answer an interactive window (offscreen platform or
// no application object): such boxes and dialogs must be answered by a hook.
bool IsHeadlessSession();

// Ends the process with a message on stderr: a modal window appeared that
// no hook answers and no user can see.
[[noreturn]] void AbortUnansweredModal(const char* what, const CString& text);
