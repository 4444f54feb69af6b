#include "link/CZorvacheckArmNum.h"

#include "link/LinkState.h"
#include "link/link_helpers.h"
#include "link/link_resources.h"
#include "platform/ui/message_box.h"
#include "platform/ui/CComboBox.h"

BEGIN_MESSAGE_MAP(CZorvacheckArmNum, CDialog)
    ON_EN_CHANGE(IDC_NAME_EDIT, OnInputChange)
    ON_CBN_SELCHANGE(IDC_LETTER, OnInputChange)
END_MESSAGE_MAP()

CZorvacheckArmNum::CZorvacheckArmNum(CWnd* parent) : CDialog(IDD_MACHINE_NUMBER, parent)
{
    RegisterLinkResources();
}

BOOL CZorvacheckArmNum::OnInitDialog()
{
    CDialog::OnInitDialog();
    auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_LETTER));
    combo->SetDroppedHeight(100);
    combo->SetItemHeight(-1, 16);
    for (const char16_t* letter : {u"A", u"B", u"C", u"D", u"E", u"F"})
        combo->AddString(CString(letter));
    int letter = 0, number = 0;
    if (const _ClientPack* m = FindMachine(g_SelectedMachine)) {
        letter = m->letter > 5 ? 5 : m->letter;
        number = m->number;
    }
    combo->SetCurSel(letter);
    SetDlgItemInt(IDC_NAME_EDIT, UINT(number));
    return TRUE;
}

void CZorvacheckArmNum::OnInputChange()
{
    SetDlgItemText(IDC_HINT, u"--");
}

void CZorvacheckArmNum::OnOK()
{
    // Before, no letter went out as 0xFF and 300 as 44: both name another
    // machine than the one meant.
    const int letter = static_cast<CComboBox*>(GetDlgItem(IDC_LETTER))->GetCurSel();
    if (letter < 0 || letter > 5) {
        SetDlgItemText(IDC_HINT, u"提示：请选择字母 A 到 F");
        return;
    }
    CString text;
    GetDlgItemText(IDC_NAME_EDIT, text);
    text = TrimText(text);
    long number = 0;
    for (int i = 0; i < text.GetLength() && number <= 255; ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            number = 256;
            break;
        }
        number = number * 10 + (text[i] - u'0');
    }
    if (number > 255) {
        SetDlgItemText(IDC_HINT, u"提示：编号须在 0 到 255 之间");
        return;
    }
    g_NewMachineNumber[0] = static_cast<uint8_t>(letter);
    g_NewMachineNumber[1] = static_cast<uint8_t>(number);
    EndDialog(IDOK);
}
