#include "app/CZorvaText_dlg.h"

#include "app/DocumentUi.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"

namespace {

constexpr UINT IDD_TEXT_PANEL = 169;
constexpr int kFirstFontSize = 8;
constexpr int kLastFontSize = 19;
constexpr int kDefaultFontEntry = 4;   // "12"

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate({IDD_TEXT_PANEL, S(u"文字标注"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 76, {
            LText(-1, S(u"字体大小："), 6, 8, 44, 10),
            ComboBox(CZorvaText_dlg::kIdFontSize, 50, 6, 48, 100),
            LText(-1, S(u"文本框大小"), 112, 8, 44, 10),
            EditText(CZorvaText_dlg::kIdBoxSize, 158, 6, 56, 13, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER),
            LText(-1, S(u"内容："), 6, 28, 44, 10),
            EditText(CZorvaText_dlg::kIdContent, 50, 26, 164, 13, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
            DefPushButton(IDOK, S(u"确定(&S)"), 106, 52, 52, 16),
            PushButton(IDCANCEL, S(u"取消"), 162, 52, 52, 16)}});
        return true;
    }();
    (void)registered;
}

} // namespace

CZorvaText_dlg::CZorvaText_dlg() : CDialog(IDD_TEXT_PANEL)
{
    RegisterTemplate();
}

BOOL CZorvaText_dlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* sizes = dynamic_cast<CComboBox*>(GetDlgItem(kIdFontSize))) {
        for (int size = kFirstFontSize; size <= kLastFontSize; ++size) {
            CString text;
            text.Format(u"%d", size);
            sizes->AddString(text);
        }
        RECT r;
        sizes->GetClientRect(&r);
        sizes->SetDroppedHeight(r.bottom - r.top + 100);
        sizes->SetCurSel(kDefaultFontEntry);
    }
    SetDlgItemText(kIdBoxSize, CString(u"30"));
    return TRUE;
}

// Both hand the keyboard back to the command line, which had it before
// the panel took it for the text.
void CZorvaText_dlg::OnOK()
{
    ShowWindow(SW_HIDE);
    DocUi().ApplyTextAnnotation();
    DocUi().ResetCommandEdit();
}

void CZorvaText_dlg::OnCancel()
{
    DocUi().StartCommand(0);
    ShowWindow(SW_HIDE);
    DocUi().ResetCommandEdit();
}
