#include "platform/ui/CEdit.h"

#include "platform/ui/control_widgets.h"
#include "platform/ui/ui_runtime.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

IMPLEMENT_DYNAMIC(CEdit, CControlBase)

namespace {

QLineEdit* Line(const CWnd* wnd)
{
    return qobject_cast<QLineEdit*>(wnd->GetSafeHwnd());
}

QPlainTextEdit* Multi(const CWnd* wnd)
{
    return qobject_cast<QPlainTextEdit*>(wnd->GetSafeHwnd());
}

} // namespace

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID)
{
    return CreateControl(CtlKind::Edit, CString(), style, rect, parent, nID);
}

void CEdit::SetSel(int start, int end, BOOL)
{
    if (QLineEdit* e = Line(this)) {
        const int length = int(e->text().size());
        if (start < 0) {
            e->deselect();
            return;
        }
        if (end < 0 || end > length)
            end = length;
        e->setSelection(start, end - start);
    } else if (QPlainTextEdit* m = Multi(this)) {
        QTextCursor c = m->textCursor();
        const int length = int(m->toPlainText().size());
        c.setPosition(std::clamp(start < 0 ? 0 : start, 0, length));
        c.setPosition(std::clamp(end < 0 ? length : end, 0, length), QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    }
}

void CEdit::GetSel(int& start, int& end) const
{
    start = end = 0;
    if (QLineEdit* e = Line(this)) {
        if (e->hasSelectedText()) {
            start = e->selectionStart();
            end = e->selectionEnd();
        } else {
            start = end = e->cursorPosition();
        }
    } else if (QPlainTextEdit* m = Multi(this)) {
        start = m->textCursor().selectionStart();
        end = m->textCursor().selectionEnd();
    }
}

void CEdit::ReplaceSel(const CString& text, BOOL)
{
    if (QLineEdit* e = Line(this))
        e->insert(uirt::ToQ(text));
    else if (QPlainTextEdit* m = Multi(this))
        m->insertPlainText(uirt::ToQ(text));
}

void CEdit::SetReadOnly(BOOL readOnly)
{
    if (QLineEdit* e = Line(this))
        e->setReadOnly(readOnly != FALSE);
    else if (QPlainTextEdit* m = Multi(this))
        m->setReadOnly(readOnly != FALSE);
    m_style = readOnly ? (m_style | ES_READONLY) : (m_style & ~ES_READONLY);
}

void CEdit::SetLimitText(UINT maxChars)
{
    if (QLineEdit* e = Line(this))
        e->setMaxLength(maxChars == 0 ? 32767 : int(maxChars));
}

int CEdit::GetLineCount() const
{
    if (QPlainTextEdit* m = Multi(this))
        return m->document()->blockCount();
    return m_hWnd != nullptr ? 1 : 0;
}

void CEdit::LineScroll(int lines, int)
{
    if (QPlainTextEdit* m = Multi(this))
        m->verticalScrollBar()->setValue(m->verticalScrollBar()->value() + lines);
}
