#include "platform/ui/clipboard.h"

#include "platform/core/codepage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstring>

bool SetClipboardAnsiText(CWnd*, const char* gbkBytes, size_t size)
{
    if (QGuiApplication::instance() == nullptr || QGuiApplication::clipboard() == nullptr)
        return false;
    const size_t length = strnlen(gbkBytes, size);
    const std::u16string text = GbkToUtf16(std::string_view(gbkBytes, length));
    QGuiApplication::clipboard()->setText(
        QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

bool GetClipboardAnsiText(std::string& gbkBytes)
{
    gbkBytes.clear();
    if (QGuiApplication::instance() == nullptr || QGuiApplication::clipboard() == nullptr)
        return false;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText())
        return false;
    const QString text = data->text();
    gbkBytes = Utf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                              static_cast<size_t>(text.size())));
    return true;
}
