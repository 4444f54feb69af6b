#include "process/CZorvasql_savefile.h"

#include "app/shell_utils.h"
#include "geometry/text_utils.h"
#include "platform/core/files.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/ProcessState.h"
#include "process/field_io.h"
#include "process/process_table.h"
#include "process/qcx_paths.h"

namespace {

constexpr unsigned IDD_QCX_SAVE = 159;
constexpr int IDC_PATH = 1009, IDC_CHOOSE = 1178;
constexpr const char16_t* kDefaultName = u"工艺列表_1.qcx";

const DialogTemplateRegistrar kTemplate([] {
    using namespace dlg;
    const auto S = [](const char16_t* text) { return CString(text); };
    return DlgTemplate{IDD_QCX_SAVE, S(u"保存到U盘"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 60, {
        LText(-1, S(u"文件名"), 8, 12, 30, 10),
        EditText(IDC_PATH, 40, 10, 212, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        PushButton(IDC_CHOOSE, S(u"选择目录"), 40, 36, 60, 15),
        DefPushButton(IDOK, S(u"保存(&S)"), 140, 36, 54, 15),
        PushButton(IDCANCEL, S(u"取消"), 198, 36, 54, 15),
    }};
}());

int Ask(CWnd* owner, const CString& text, unsigned type)
{
    return ShowMessageBox(owner, text, CString(u"提示"), type);
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvasql_savefile, CDialog)
    ON_BN_CLICKED(IDC_CHOOSE, OnChooseFolder)
END_MESSAGE_MAP()

CZorvasql_savefile::CZorvasql_savefile() : CDialog(IDD_QCX_SAVE) {}

BOOL CZorvasql_savefile::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The list goes to the removable drive when one is mounted.
    SetDlgItemText(IDC_PATH, !g_QcxSavePath.IsEmpty() ? g_QcxSavePath
                                                      : WithTrailingSeparator(DefaultQcxFolder()) + kDefaultName);
    return TRUE;
}

void CZorvasql_savefile::OnChooseFolder()
{
    const CString folder = ChooseFolder();
    if (folder.IsEmpty())
        return;
    g_QcxSavePath = WithTrailingSeparator(folder) + PathFileName(proc::FieldText(this, IDC_PATH));
    SetDlgItemText(IDC_PATH, g_QcxSavePath);
}

void CZorvasql_savefile::OnOK()
{
    const CString text = TrimString(proc::FieldText(this, IDC_PATH));
    CString folder = PathFolderPart(text);
    if (folder.IsEmpty() && !text.IsEmpty() && text[0] == u'/')
        folder = u"/";
    CString name = PathFileName(text);
    if (name.IsEmpty())
        return;
    if (!IsValidFileName(name)) {
        Ask(this, CString(u"文件名包含非法字符"), MB_RETRYCANCEL | MB_ICONQUESTION);
        return;
    }
    const int dot = name.ReverseFind(u'.');
    if (dot < 0 || name.Mid(dot + 1) != CString(u"qcx"))
        name += u".qcx";
    if (!FolderExists(folder)) {
        Ask(this, CString(u"路径不存在!"), MB_OK | MB_ICONQUESTION);
        return;
    }
    const CString path = WithTrailingSeparator(folder) + name;
    SetDlgItemText(IDC_PATH, path);
    if (FileExists(path)) {
        CString question;
        question.Format(u"文件<%s>已存在,是否替换？", name.GetString());
        if (Ask(this, question, MB_YESNO) != IDYES)
            return;
    }
    // Before, a list that could not be written closed the dialog as if
    // it had been saved.
    if (!ExportQcxFile(path)) {
        AfxMessageBox(CString(u"保存文件失败"), MB_OK | MB_ICONERROR);
        return;
    }
    EndDialog(IDOK);
}
