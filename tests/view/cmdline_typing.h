#pragma once

// Typing into the command edit as a user would: the text, Enter, then the
// key release that the main frame turns into clearing the key latches.

#include "view_fixture.h"

#include <algorithm>

class CmdlineTest : public ViewTest {
protected:
    void Release()
    {
        g_keyDownSeen = 0;
        g_UndoKeyLatch = 0;
        g_EditKeyLatch = 0;
    }
    void Type(const char16_t* text)
    {
        drv->SetCommandEdit(CString(text));
        drv->PressKey(13);
        Release();
    }
    void Key(int key)
    {
        drv->PressKey(key);
        Release();
    }
    CString LastLine() const
    {
        const auto lines = drv->Output();
        return lines.empty() ? CString() : lines.back();
    }
    bool Printed(const char16_t* text) const
    {
        const auto lines = drv->Output();
        return std::any_of(lines.begin(), lines.end(), [text](const CString& l) { return l == text; });
    }
    static bool StartsWith(const CString& line, const char16_t* head)
    {
        return line.Str().rfind(head, 0) == 0;
    }
};
