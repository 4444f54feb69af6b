#include "app/CSplitStr.h"

#include "platform/core/CStringArray.h"

IMPLEMENT_DYNAMIC(CSplitStr, CObject)

CSplitStr::CSplitStr()
{
    SetText(CString());
    SetSeparator(u",");
}

void CSplitStr::SetText(const CString& text)
{
    m_text = text;
    m_text.Trim();
}

void CSplitStr::Split(CStringArray& pieces) const
{
    CString work = GetText();
    const CString sep = GetSeparator();
    // An empty separator once matched at index 0 for ever; it means no split.
    if (sep.IsEmpty()) {
        if (!work.IsEmpty() || !m_skipEmpty)
            pieces.Add(work);
        return;
    }
    // One separator at the end, so the last piece is cut like the others.
    if (work.Right(sep.GetLength()) != sep)
        work += sep;
    for (int pos; (pos = work.Find(sep)) >= 0;) {
        const CString piece = work.Left(pos);
        if (!piece.IsEmpty() || !m_skipEmpty)
            pieces.Add(piece);
        work = work.Mid(pos + sep.GetLength());
    }
}
