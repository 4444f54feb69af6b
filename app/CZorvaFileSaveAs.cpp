#include "app/CZorvaFileSaveAs.h"

#include "app/AppState.h"
#include "app/DocumentUi.h"
#include "app/browser_resources.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "platform/core/files.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/message_box.h"

BEGIN_MESSAGE_MAP(CZorvaFileSaveAs, FileBrowserDialog)
    ON_NOTIFY(NM_DBLCLK, kIdBrowserList, OnListDoubleClick)
    ON_CBN_SELCHANGE(kIdTypeCombo, OnTypeChange)
END_MESSAGE_MAP()

namespace {

constexpr UINT kKeyBackquote = 0xC0;    // the key left of 1

bool DrawingHasLiveUnit()
{
    if (g_pDoc == nullptr)
        return false;
    for (CUnit* u : g_pDoc->m_unitList)
        if (u != nullptr && !u->deleted)
            return true;
    return false;
}

} // namespace

CZorvaFileSaveAs::CZorvaFileSaveAs() : FileBrowserDialog(IDD_FILE_SAVEAS, true) {}

BOOL CZorvaFileSaveAs::OnInitDialog()
{
    FileBrowserDialog::OnInitDialog();
    if (g_saveTypeIndex > 1)
        g_saveTypeIndex = 1;
    if (CComboBox* types = TypeCombo()) {
        types->AddString(CString(u"图形文件 *.wcx"));
        types->AddString(CString(u"轨迹文件 *.dcx"));
        types->SetCurSel(g_saveTypeIndex);
        if (g_exportMode)
            types->EnableWindow(FALSE);
    }
    FillList();
    CString name = g_currentFileName.IsEmpty() ? DefaultName() : g_currentFileName;
    name.Replace(u"dxf", u"wcx");
    name.Replace(u"DXF", u"wcx");
    if (!name.IsEmpty())
        name = AdjustNameForType(name, CurrentType());
    SetDlgItemText(kIdNameEdit, name);
    return TRUE;
}

// The smallest number that no row of the list bears.
CString CZorvaFileSaveAs::DefaultName() const
{
    CListCtrl* list = List();
    for (int n = 1;; ++n) {
        CString name;
        name.Format(u"图形文件 (%d).wcx", n);
        bool taken = false;
        for (int row = 0; list != nullptr && row < list->GetItemCount() && !taken; ++row)
            taken = list->GetItemText(row, 0) == name;
        if (!taken)
            return name;
    }
}

CString CZorvaFileSaveAs::AdjustNameForType(const CString& name, int type)
{
    CString base = name;
    base.MakeLower();
    const int dot = base.Find(u'.');
    if (dot >= 0)
        base = base.Left(dot);
    if (type == 0) {
        base.Replace(u"轨迹文件", u"图形文件");
        if (base != CString(u"wcx"))
            base += u".wcx";
    } else {
        base.Replace(u"图形文件", u"轨迹文件");
        if (base != CString(u"dcx"))
            base += u".dcx";
    }
    return base;
}

void CZorvaFileSaveAs::AfterTypeChanged()
{
    CString name;
    GetDlgItemText(kIdNameEdit, name);
    if (!name.IsEmpty())
        SetDlgItemText(kIdNameEdit, AdjustNameForType(name, CurrentType()));
}

bool CZorvaFileSaveAs::ConfirmSave()
{
    if (!DrawingHasLiveUnit()) {
        DocUi().PrintLine(CString(u"#当前实体图形为空"));
        return false;
    }
    CString name;
    GetDlgItemText(kIdNameEdit, name);
    name.Trim();
    if (name.IsEmpty()) {
        if (CWnd* edit = GetDlgItem(kIdNameEdit))
            edit->SetFocus();
        DocUi().PrintLine(CString(u"#请设置文件名"));
        return false;
    }
    if (!IsValidFileName(name)) {
        DocUi().PrintLine(CString(u"#文件名包含非法字符"));
        return false;
    }
    // A name that is only an extension would be saved as a hidden file.
    CString base = name.Find(u'.') >= 0 ? name.Left(name.Find(u'.')) : name;
    base.Trim();
    name = AdjustNameForType(name, CurrentType());
    name.Trim();
    if (name.IsEmpty() || base.IsEmpty()) {
        DocUi().PrintLine(CString(u"#请设置文件名"));
        return false;
    }
    // The drive-level marker is checked before the separators are turned:
    // a lone backslash became "/" and the file went to the root folder.
    CString folder = g_browseFolder;
    if (folder.IsEmpty() || folder == CString(u"\\")) {
        DocUi().PrintLine(CString(u"#请选择保存文件目录"));
        return false;
    }
    NormaliseFolder(folder);
    if (!FolderExists(folder)) {
        DocUi().PrintLine(CString(u"#文件路径不存在"));
        return false;
    }
    const CString path = JoinPath(folder, name);
    if (FileExists(path)) {
        CString question;
        question.Format(u"文件<%s>已存在,是否替换？", name.GetString());
        if (ShowMessageBox(this, question, CString(u"提示"), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        // Before, Yes deleted the file here, before any writer ran: a write
        // that then failed lost both. The writer now replaces it whole.
    }
    g_fileDialogType = CurrentType();
    g_currentFileName = name;
    g_currentFilePath = path;
    return true;
}

void CZorvaFileSaveAs::OnOK()
{
    if (ConfirmSave())
        EndDialog(IDOK);
}

bool CZorvaFileSaveAs::OnKeyRelease(UINT key, const MSG& msg)
{
    const bool inName = IsFor(msg, kIdNameEdit);
    switch (key) {
    case VK_BACK:
        if (inName)
            return false;
        UpOneLevel();
        return true;
    case 'S':
        if (inName)
            return false;
        OnOK();
        return true;
    case VK_F1 + 1:
        EndDialog(IDCANCEL);
        return true;
    case kKeyBackquote:
        if (inName)
            return false;
        if (CWnd* edit = GetDlgItem(kIdNameEdit))
            edit->SetFocus();
        return true;
    default:
        return false;
    }
}

void CZorvaFileSaveAs::OnListDoubleClick(NMHDR* header, LRESULT* result)
{
    const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(header);
    CListCtrl* list = List();
    const int row = item != nullptr && item->iItem >= 0 ? item->iItem : SelectedRow();
    if (list != nullptr && row >= 0) {
        const CString name = list->GetItemText(row, 0);
        const CString size = list->GetItemText(row, 1);
        if (name != CString(kUpRowText) && !size.IsEmpty() && size != CString(u"-"))
            SetDlgItemText(kIdNameEdit, name);
    }
    if (result != nullptr)
        *result = 0;
}

void CZorvaFileSaveAs::DeleteSelectedFile()
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
    DeleteFile(path);
    FillList();
}

void CZorvaFileSaveAs::OnDestroy()
{
    g_exportMode = 0;
    FileBrowserDialog::OnDestroy();
}
