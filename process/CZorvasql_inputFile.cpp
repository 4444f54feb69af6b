#include "process/CZorvasql_inputFile.h"

#include "app/shell_utils.h"
#include "platform/core/files.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/ProcessState.h"
#include "process/process_table.h"
#include "process/qcx_paths.h"

namespace {

constexpr unsigned IDD_QCX_IMPORT = 160;
constexpr int IDC_FILES = 1008, IDC_FOLDER = 1009, IDC_CHOOSE = 1178;
// Icons of the list; each row shows the third.
constexpr unsigned kIconIds[] = {203, 192, 197, 252};
constexpr int kRowIcon = 2;

const DialogTemplateRegistrar kTemplate([] {
    using namespace dlg;
    const auto S = [](const char16_t* text) { return CString(text); };
    return DlgTemplate{IDD_QCX_IMPORT, S(u"导入工艺表"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 328, 206, {
        ListView(IDC_FILES, 6, 6, 316, 150, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
        EditText(IDC_FOLDER, 6, 162, 252, 12, ES_AUTOHSCROLL | ES_READONLY),
        PushButton(IDC_CHOOSE, S(u"选择路径"), 262, 161, 60, 15),
        DefPushButton(IDOK, S(u"确定(&C)"), 204, 184, 56, 15),
        PushButton(IDCANCEL, S(u"取消"), 266, 184, 56, 15),
    }};
}());

void RegisterIcons()
{
    static const bool registered = [] {
        RegisterThemeIcon(kIconIds[0], "document-save");
        RegisterThemeIcon(kIconIds[1], "folder");
        RegisterThemeIcon(kIconIds[2], "text-x-generic");
        RegisterThemeIcon(kIconIds[3], "drive-removable-media");
        return true;
    }();
    (void)registered;
}

CListCtrl* FileList(const CWnd* dialog)
{
    return dynamic_cast<CListCtrl*>(dialog->GetDlgItem(IDC_FILES));
}

void ResetList(CListCtrl* list)
{
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    list->InsertColumn(0, CString(u"文件"), LVCFMT_LEFT, 200);
    list->InsertColumn(1, CString(u"大小"), LVCFMT_LEFT, 60);
    list->InsertColumn(2, CString(u"时间"), LVCFMT_LEFT, 200);
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvasql_inputFile, CDialog)
    ON_BN_CLICKED(IDC_CHOOSE, OnChoosePath)
END_MESSAGE_MAP()

CZorvasql_inputFile::CZorvasql_inputFile() : CDialog(IDD_QCX_IMPORT)
{
    RegisterIcons();
}

CZorvasql_inputFile::~CZorvasql_inputFile() = default;

BOOL CZorvasql_inputFile::OnInitDialog()
{
    CDialog::OnInitDialog();
    CListCtrl* list = FileList(this);
    if (list != nullptr) {
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
        m_images = std::make_unique<CImageList>();
        m_images->Create(32, 32, ILC_COLOR32 | ILC_MASK, 4, 0);
        for (unsigned id : kIconIds)
            m_images->AddIcon(id);
        list->SetImageList(m_images.get(), LVSIL_SMALL);
        ResetList(list);
    }
    // A list to import usually waits on the removable drive.
    if (g_QcxImportFolder.IsEmpty())
        g_QcxImportFolder = FirstRemovableDrive();
    if (!g_QcxImportFolder.IsEmpty()) {
        SetDlgItemText(IDC_FOLDER, g_QcxImportFolder);
        ListQcxFiles(g_QcxImportFolder);
    }
    return TRUE;
}

void CZorvasql_inputFile::OnChoosePath()
{
    g_QcxImportFolder = ChooseFolder();
    if (g_QcxImportFolder.IsEmpty())
        return;
    SetDlgItemText(IDC_FOLDER, g_QcxImportFolder);
    ListQcxFiles(g_QcxImportFolder);
}

void CZorvasql_inputFile::ListQcxFiles(const CString& folder)
{
    CListCtrl* list = FileList(this);
    if (list == nullptr)
        return;
    ResetList(list);
    for (const FileEntry& e : ListFolder(WithTrailingSeparator(folder) + u"*.qcx")) {
        if (e.isFolder || e.name.IsEmpty() || e.name[0] == u'.')
            continue;
        const int row = list->InsertItem(list->GetItemCount(), e.name, kRowIcon);
        list->SetItemText(row, 1, QcxSizeText(e.size));
        list->SetItemText(row, 2, FormatFileTime(e.times.created));
    }
}

void CZorvasql_inputFile::OnOK()
{
    CListCtrl* list = FileList(this);
    const int row = list != nullptr ? list->GetNextItem(-1, LVNI_SELECTED) : -1;
    if (row < 0)
        return;
    const CString name = list->GetItemText(row, 0);
    if (name.IsEmpty())
        return;
    g_QcxImportFolder = WithTrailingSeparator(g_QcxImportFolder);
    const CString path = g_QcxImportFolder + name;
    if (FileExists(path)) {
        switch (ImportQcxFile(path)) {
        case QcxImport::imported: m_imported = true; break;
        case QcxImport::tooShort: break;    // an empty list brings nothing
        // Before, any file was taken, its count driving the allocation.
        case QcxImport::badFormat:
            AfxMessageBox(CString(u"文件不是有效的工艺列表，工艺表未改变"), MB_OK | MB_ICONWARNING);
            break;
        case QcxImport::unreadable:
            AfxMessageBox(CString(u"读取文件失败，工艺表未改变"), MB_OK | MB_ICONWARNING);
            break;
        }
    }
    EndDialog(IDOK);
}
