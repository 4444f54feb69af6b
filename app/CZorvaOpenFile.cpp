#include "app/CZorvaOpenFile.h"

#include "app/AppState.h"
#include "app/DocumentUi.h"
#include "app/browser_resources.h"
#include "platform/core/files.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/message_box.h"

BEGIN_MESSAGE_MAP(CZorvaOpenFile, FileBrowserDialog)
    ON_CBN_SELENDOK(kIdTypeCombo, OnTypeChosen)
END_MESSAGE_MAP()

namespace {

constexpr UINT kKeyBackquote = 0xC0;    // the key left of 1
constexpr int kOpenTypes = 4;

const char16_t* const kMachiningExtensions[] = {u"tcx", u"cnc", u"nc", u"g", u"2cn", u"3b", u"b", u"bbb"};

} // namespace

CZorvaOpenFile::CZorvaOpenFile() : FileBrowserDialog(IDD_FILE_OPEN, false) {}

BOOL CZorvaOpenFile::OnInitDialog()
{
    FileBrowserDialog::OnInitDialog();
    if (g_openTypeIndex > 3)
        g_openTypeIndex = 3;
    if (CComboBox* types = TypeCombo()) {
        for (const char16_t* text : {u"所有文件 *.*", u"Wcx 文件 *.wcx", u"Dxf 文件 *.dxf", u"Dat 文件 *.dat"})
            types->AddString(CString(text));
        types->SetItemHeight(-1, 18);
        types->SetCurSel(g_openTypeIndex);
    }
    if (auto* folders = dynamic_cast<CComboBox*>(GetDlgItem(kIdFolderCombo)))
        folders->SetItemHeight(-1, 18);
    FillList();
    return TRUE;
}

bool CZorvaOpenFile::ConfirmOpen()
{
    g_fileDialogType = -1;
    CListCtrl* list = List();
    const int row = SelectedRow();
    if (list == nullptr || row < 0)
        return false;
    const CString name = list->GetItemText(row, 0);
    if (name.IsEmpty())
        return false;
    const int dot = name.ReverseFind(u'.');
    CString ext = dot < 0 ? CString() : name.Mid(dot + 1);
    ext.MakeLower();
    const int type = ext == CString(u"wcx") ? 0 : ext == CString(u"dxf") ? 1 : ext == CString(u"dat") ? 2 : -1;
    const bool isFile = list->GetItemText(row, 1) != CString(u"-") && name != CString(kUpRowText);
    if (type >= 0 && isFile) {
        const CString path = JoinPath(g_browseFolder, name);
        if (!FileExists(path)) {
            CString text;
            text.Format(u"文件<%s>不存在", name.GetString());
            ShowMessageBox(this, text, CString(u"提示"), MB_OK);
            return false;
        }
        g_fileDialogType = type;
        g_currentFileName = name;
        g_currentFilePath = path;
        return true;
    }
    CString hint;
    bool machining = false;
    for (const char16_t* e : kMachiningExtensions)
        machining = machining || ext == CString(e);
    if (isFile && machining)
        hint.Format(u"#(*.%s)加工文件， 请在【加工软件】中打开", ext.GetString());
    else if (isFile && ext == CString(u"setting"))
        hint.Format(u"#(*.%s)配置文件，请在【加工软件】中打开", ext.GetString());
    else
        hint = CString(u"#未知文件类型");
    DocUi().PrintLine(hint);
    return false;
}

void CZorvaOpenFile::OnOK()
{
    if (ConfirmOpen())
        EndDialog(IDOK);
}

bool CZorvaOpenFile::OnKeyRelease(UINT key, const MSG&)
{
    switch (key) {
    case VK_BACK:
        UpOneLevel();
        return true;
    case VK_F1:
        EndDialog(IDCANCEL);
        return true;
    case kKeyBackquote: {
        g_openTypeIndex = std::uint8_t((CurrentType() + 1) % kOpenTypes);
        if (CComboBox* types = TypeCombo())
            types->SetCurSel(g_openTypeIndex);
        FillList();
        return true;
    }
    default:
        return false;
    }
}

// Every deletion asks (before, only the first of the dialog's life did).
void CZorvaOpenFile::DeleteSelectedFile()
{
    CListCtrl* list = List();
    const int row = SelectedRow();
    if (list == nullptr || row < 0)
        return;
    const CString name = list->GetItemText(row, 0);
    const CString path = JoinPath(g_browseFolder, name);
    if (!FileExists(path))
        return;
    CString question;
    question.Format(u"确定删除文件 <%s>？", name.GetString());
    if (ShowMessageBox(this, question, CString(u"提示"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (DeleteFile(path))
        list->DeleteItem(row);
}
