#pragma once

#include <string>

class CWnd;

// The clipboard's plain text in the ANSI (GBK) code page, like the
// framework's CF_TEXT format. Both fail (false) when there is no clipboard,
// that is, no application object.

// Replaces the clipboard's contents by the text of the zero-terminated GBK
// bytes (the terminator and anything after it is not part of the text).
bool SetClipboardAnsiText(CWnd* owner, const char* gbkBytes, size_t size);

// The clipboard's text as GBK bytes; false when it holds no text.
bool GetClipboardAnsiText(std::string& gbkBytes);
