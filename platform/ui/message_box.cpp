#include "platform/ui/message_box.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ui_runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    const char* text;
    int id;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonSpec> ButtonsOf(unsigned type)
{
    const ButtonSpec ok{"确定", IDOK, QMessageBox::AcceptRole};
    const ButtonSpec cancel{"取消", IDCANCEL, QMessageBox::RejectRole};
    const ButtonSpec yes{"是(&Y)", IDYES, QMessageBox::YesRole};
    const ButtonSpec no{"否(&N)", IDNO, QMessageBox::NoRole};
    const ButtonSpec retry{"重试(&R)", IDRETRY, QMessageBox::AcceptRole};
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {ok, cancel};
    case MB_YESNOCANCEL: return {yes, no, cancel};
    case MB_YESNO: return {yes, no};
    case MB_RETRYCANCEL: return {retry, cancel};
    default: return {ok};
    }
}

int RunQtBox(CWnd* owner, const CString& text, const CString& caption, unsigned type);

} // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

bool IsHeadlessSession()
{
    if (QApplication::instance() == nullptr)
        return true;
    return QGuiApplication::platformName() == QLatin1String("offscreen")
        || QGuiApplication::platformName() == QLatin1String("minimal");
}

void AbortUnansweredModal(const char* what, const CString& text)
{
    std::fprintf(stderr, "unanswered %s in a headless session: %s\n", what, text.ToUtf8().c_str());
    std::fflush(stderr);
    std::abort();
}

int ShowMessageBox(CWnd* owner, const CString& text, const CString& caption, unsigned type)
{
    MessageBoxRequest request{text, caption.IsEmpty() ? CString(u"提示") : caption, type};
    if (Hook()) {
        MessageBoxHook hook = Hook(); // the hook may replace itself
        return hook(request);
    }
    if (IsHeadlessSession())
        AbortUnansweredModal("message box", text);
    return RunQtBox(owner, request.text, request.caption, type);
}

int AfxMessageBox(const CString& text, unsigned type, unsigned)
{
    return ShowMessageBox(nullptr, text, CString(u"提示"), type);
}

namespace {

int RunQtBox(CWnd* owner, const CString& text, const CString& caption, unsigned type)
{
    QMessageBox box(IconOf(type), uirt::ToQ(caption), uirt::ToQ(text), QMessageBox::NoButton,
                    (owner ? owner->GetSafeHwnd() : nullptr));
    const std::vector<ButtonSpec> specs = ButtonsOf(type);
    std::vector<QPushButton*> buttons;
    for (const ButtonSpec& spec : specs)
        buttons.push_back(box.addButton(QString::fromUtf8(spec.text), spec.role));
    const size_t defaultIndex = (type >> 8) & 0x3;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex]);
    // Escape: the cancel button, else the only button.
    for (size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].id == IDCANCEL || specs.size() == 1)
            box.setEscapeButton(buttons[i]);
    }
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            return specs[i].id;
    }
    return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
}

} // namespace
