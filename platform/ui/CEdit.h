#pragma once

#include "platform/ui/CControlBase.h"

// Single-line and multi-line (ES_MULTILINE) edits.
class CEdit : public CControlBase {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);

    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(const CString& text, BOOL canUndo = FALSE);
    void SetReadOnly(BOOL readOnly = TRUE);
    void SetLimitText(UINT maxChars);
    void LimitText(UINT maxChars) { SetLimitText(maxChars); }
    int GetLineCount() const;
    void LineScroll(int lines, int chars = 0);
};
