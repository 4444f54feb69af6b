#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CString.h"

class CStringArray;

// Cuts a line of text into pieces at a separator (typed values "10,20").
class CSplitStr : public CObject {
    DECLARE_DYNAMIC(CSplitStr)

public:
    CSplitStr();
    ~CSplitStr() override = default;

    void SetSeparator(const CString& separator) { m_separator = separator; }
    // Stores the text trimmed of white space at both ends.
    void SetText(const CString& text);
    CString GetSeparator() const { return m_separator; }
    CString GetText() const { return m_text; }

    // Appends the pieces of the text to pieces; what it held stays in front.
    void Split(CStringArray& pieces) const;

    bool m_skipEmpty = true;   // empty pieces are left out

private:
    CString m_separator;
    CString m_text;
};
