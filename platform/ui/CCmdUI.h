#pragma once

#include "platform/core/CString.h"
#include "platform/ui/wintypes.h"

class CCmdTarget;
class CMenu;
class CWnd;

// One user-interface item (menu item, toolbar button, control) asked for its
// state. Update handlers call Enable/SetCheck/SetText; the item applies it.
class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;  // menu items
    CWnd* m_pOther = nullptr;  // toolbar or control

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1); // 0 off, 1 on, 2 indeterminate
    virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
    virtual void SetText(const CString& text);

    // Routes the update through target; with no handler the item is
    // disabled when disableIfNoHandler is set. True when a handler ran.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    bool m_bEnableChanged = false;
    bool m_bCheckChanged = false;
    bool m_bEnabled = true;
    int m_nCheck = 0;
};
