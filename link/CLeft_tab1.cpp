#include "link/CLeft_tab1.h"

#include "link/CCXCreateDir.h"
#include "link/CZorvalinkDlg.h"
#include "link/LinkState.h"
#include "link/link_helpers.h"
#include "link/link_resources.h"
#include "link/transfer.h"
#include "platform/core/files.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell_open.h"

#include <ctime>

BEGIN_MESSAGE_MAP(CLeft_tab1, CDialog)
    ON_WM_TIMER()
    ON_NOTIFY(NM_CLICK, IDC_LOCAL_LIST, OnLocalListClick)
    ON_NOTIFY(NM_DBLCLK, IDC_LOCAL_LIST, OnLocalListDblClk)
    ON_NOTIFY(NM_CLICK, IDC_REMOTE_LIST, OnRemoteListClick)
    ON_NOTIFY(NM_DBLCLK, IDC_REMOTE_LIST, OnRemoteListDblClk)
    ON_BN_CLICKED(IDC_LOCAL_UP, OnLocalUp)
    ON_BN_CLICKED(IDC_REMOTE_UP, OnRemoteUp)
    ON_BN_CLICKED(IDC_SEND, OnSendFiles)
    ON_BN_CLICKED(IDC_RECEIVE, OnReceiveFiles)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDC_SEND_ALL, OnMultiMachineCheck)
    ON_COMMAND(ID_LOCAL_REFRESH, OnRefreshLocal)
    ON_COMMAND(ID_LOCAL_SEND, OnSendFiles)
    ON_COMMAND(ID_LOCAL_OPEN_FOLDER, OnOpenInExplorer)
    ON_COMMAND(ID_LOCAL_NEW_FOLDER, OnNewLocalFolder)
    ON_COMMAND(ID_LOCAL_DELETE, OnDeleteLocal)
    ON_COMMAND(ID_REMOTE_REFRESH, OnRefreshRemote)
    ON_COMMAND(ID_REMOTE_RECEIVE, OnReceiveFiles)
    ON_COMMAND(ID_REMOTE_NEW_FOLDER, OnNewRemoteFolder)
    ON_COMMAND(ID_REMOTE_DELETE, OnDeleteRemote)
END_MESSAGE_MAP()

namespace {

const char16_t* const kParentRow = u"返回上一级";

void ResetColumns(CListCtrl* list, const char16_t* first)
{
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    list->InsertColumn(0, CString(first), LVCFMT_LEFT, 350);
    list->InsertColumn(1, CString(u"大小"), LVCFMT_LEFT, 60);
    list->InsertColumn(2, CString(u"时间"), LVCFMT_LEFT, 200);
}

void AppendRow(CListCtrl* list, const CString& name, int image, const CString& size, const CString& time)
{
    const int row = list->InsertItem(list->GetItemCount(), name, image);
    list->SetItemText(row, 1, size);
    list->SetItemText(row, 2, time);
}

CString LowerAscii(CString text)
{
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] >= u'A' && text[i] <= u'Z')
            text.SetAt(i, char16_t(text[i] - u'A' + u'a'));
    return text;
}

bool PassesFilter(int filter, const CString& name)
{
    const CString ext = LowerAscii(GetFileExtension(name));
    auto any = [&](std::initializer_list<const char16_t*> list) {
        for (const char16_t* e : list)
            if (ext == e)
                return true;
        return false;
    };
    switch (filter) {
    case 1: return ext == u"tcx";
    case 2: return any({u"cnc", u"nc", u"g", u"2cn"});
    case 3: return any({u"3b", u"b", u"bbb"});
    // The labels of these three name their extensions.
    case 4: return ext == u"wcx";
    case 5: return ext == u"dxf";
    case 6: return ext == u"dat";
    default: return true;
    }
}

} // namespace

CString LocalTimeText(int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local {};
    localtime_r(&t, &local);
    CString text;
    text.Format(u"%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

void NormaliseFolder(CString& folder)
{
    folder.Replace(u"系统盘 C:\\系统盘 C:", u"系统盘 C:");
    folder.Replace(u"移动盘 U:\\移动盘 U:", u"移动盘 U:");
    folder.Replace(u"我的电脑:", u"");
    const int n = folder.GetLength();
    if (n > 1 && (folder[n - 1] == u'\\' || folder[n - 1] == u'/'))
        folder = folder.Left(n - 1);
    else if (n == 1 && folder[0] == u'\\')
        folder.Empty();
}

CString SizeText(int64_t size)
{
    CString text;
    if (size < 1024)
        text.Format(u"%d", static_cast<int>(size));
    else if (size < 1048576)
        text = FormatDecimal2(double(size) / 1024.0) + u"K";
    else
        text = FormatDecimal2(double(size) / 1048576.0) + u"M";
    return text;
}

CString ParentFolder(const CString& folder)
{
    if (folder.IsEmpty() || folder == u"/")
        return CString();
    const CString head = GetPathHead(folder);
    return head.IsEmpty() && folder[0] == u'/' ? CString(u"/") : head;
}

CString JoinFolder(const CString& folder, const CString& name)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == u'/')
        return folder + name;
    return folder + u"/" + name;
}

CLeft_tab1::CLeft_tab1() = default;
CLeft_tab1::~CLeft_tab1() = default;

CListCtrl* CLeft_tab1::LocalList() const
{
    return static_cast<CListCtrl*>(GetDlgItem(IDC_LOCAL_LIST));
}

CListCtrl* CLeft_tab1::RemoteList() const
{
    return static_cast<CListCtrl*>(GetDlgItem(IDC_REMOTE_LIST));
}

int CLeft_tab1::FilterIndex() const
{
    auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_FILTER));
    return combo != nullptr ? combo->GetCurSel() : -1;
}

BOOL CLeft_tab1::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_images = std::make_unique<CImageList>();
    m_images->Create(32, 32, ILC_COLOR24 | ILC_MASK, 4, 4);
    for (UINT icon : {IDI_PARENT_ROW, IDI_FOLDER_ROW, IDI_FILE_ROW, IDI_DRIVE_ROW, IDI_SPARE, IDI_REMOVABLE_ROW})
        m_images->AddIcon(icon);
    for (CListCtrl* list : {LocalList(), RemoteList()}) {
        list->SetImageList(m_images.get(), LVSIL_SMALL);
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    }
    localFolder = g_SchemeFolderText;
    FillLocalList(FilterIndex());
    SetDlgItemText(IDC_LOCAL_PATH, localFolder);
    auto* filter = static_cast<CComboBox*>(GetDlgItem(IDC_FILTER));
    for (const char16_t* entry : {u"所有文件(*.*)", u"加工文件 TCX(*.tcx)", u"加工文件 G(*.g|*.cnc|*.nc)",
                                  u"加工文件 3B(*.3b|*.b|*.bbb)", u"图形文件 WCX(*.wcx)", u"图形文件 DXF(*.dxf)",
                                  u"图形文件 DAT(*.dat)"})
        filter->AddString(CString(entry));
    filter->SetCurSel(0);
    InitRemoteList();
    return TRUE;
}

void CLeft_tab1::FillLocalList(int filter)
{
    CListCtrl* list = LocalList();
    ResetColumns(list, u"文件 （本地）");
    g_LocalSizes.clear();
    CString path = localFolder;
    NormaliseFolder(path);
    if (path.IsEmpty()) {
        for (const DriveRoot& d : ListDriveRoots())
            AppendRow(list, d.path, 3, CString(), CString());
        SetFolderText(0, localFolder);
        return;
    }
    SetFolderText(0, path);
    std::vector<FileEntry> folders, files;
    for (const FileEntry& e : ListFolder(JoinFolder(path, u"*"))) {
        if (e.name.IsEmpty() || e.name[0] == u'.')
            continue;
        if (e.isFolder)
            folders.push_back(e);
        else if (PassesFilter(filter, e.name))
            files.push_back(e);
    }
    AppendRow(list, kParentRow, 0, CString(), CString());
    g_LocalSizes.push_back(0);
    for (const FileEntry& e : folders) {
        AppendRow(list, e.name, 1, u"-", LocalTimeText(e.times.created));
        g_LocalSizes.push_back(0);
    }
    for (const FileEntry& e : files) {
        AppendRow(list, e.name, 2, SizeText(e.size), LocalTimeText(e.times.created));
        g_LocalSizes.push_back(e.size);
    }
}

bool CLeft_tab1::TakeClickLatch()
{
    if (g_ClickLatch) {
        g_ClickLatch = false;
        return false;
    }
    g_ClickLatch = true;
    return true;
}

void CLeft_tab1::OnLocalListClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (!TakeClickLatch())
        return;
    CListCtrl* list = LocalList();
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0) {
        const CString name = list->GetItemText(row, 0);
        const CString size = list->GetItemText(row, 1);
        bool moved = true;
        if (name == kParentRow && size.IsEmpty())
            localFolder = ParentFolder(localFolder);
        else if (!name.IsEmpty() && size.IsEmpty())
            localFolder = name; // a drive
        else
            moved = false;
        if (moved) {
            NormaliseFolder(localFolder);
            FillLocalList(FilterIndex());
        }
    }
    g_ClickLatch = false;
}

void CLeft_tab1::OnLocalListDblClk(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (!TakeClickLatch())
        return;
    CListCtrl* list = LocalList();
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0 && !list->GetItemText(row, 0).IsEmpty() && list->GetItemText(row, 1) == u"-") {
        localFolder = JoinFolder(localFolder, list->GetItemText(row, 0));
        NormaliseFolder(localFolder);
        FillLocalList(FilterIndex());
    }
    g_ClickLatch = false;
}

void CLeft_tab1::OnLocalUp()
{
    if (localFolder.IsEmpty())
        return;
    localFolder = ParentFolder(localFolder);
    NormaliseFolder(localFolder);
    FillLocalList(FilterIndex());
}

void CLeft_tab1::OnRefreshLocal()
{
    g_PageAction = kRefreshLocal;
    SetTimer(kPageTimer, 5);
}

void CLeft_tab1::OnNewLocalFolder()
{
    if (localFolder.IsEmpty())
        return;
    g_NewFolderCaption = u"【主控本地】 新建目录";
    g_PageAction = kNewLocalFolder;
    SetTimer(kPageTimer, 1);
}

void CLeft_tab1::AddLocalFolderRow()
{
    if (localFolder.IsEmpty())
        return;
    AppendRow(LocalList(), g_NewFolderName, 1, u"-", CString());
    g_LocalSizes.push_back(0);
}

void CLeft_tab1::OnDeleteLocal()
{
    CListCtrl* list = LocalList();
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    if (row < 0 || localFolder.IsEmpty())
        return;
    const CString name = list->GetItemText(row, 0);
    const CString size = list->GetItemText(row, 1);
    const CString path = JoinFolder(localFolder, name);
    if (!PathExists(path) || size.IsEmpty())
        return;
    const bool folder = size == u"-";
    CString question;
    if (folder)
        question.Format(u"请确保该目录为空，否则删除失败；\n确定删除目录 <%s>？", name.GetString());
    else
        question.Format(u"确定删除文件 <%s>？", name.GetString());
    if (ShowMessageBox(this, question, u"提示", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (folder)
        RemoveFolder(path);
    else if (LocalFileExists(path))
        DeleteFile(path);
    if (PathExists(path)) {
        g_pMainDlg->SetStatusText(u"提示：删除失败");
        return;
    }
    g_pMainDlg->SetStatusText(u"提示：删除成功");
    list->DeleteItem(row);
    if (row < static_cast<int>(g_LocalSizes.size()))
        g_LocalSizes.erase(g_LocalSizes.begin() + row);
}

void CLeft_tab1::OnOpenInExplorer()
{
    CListCtrl* list = LocalList();
    const int row = list->GetNextItem(-1, LVNI_SELECTED);
    CString name;
    if (row >= 0 && (localFolder.IsEmpty() || row != 0))
        name = list->GetItemText(row, 0);
    // The file manager opens the folder; in the drive view, the chosen drive.
    const CString folder = localFolder.IsEmpty() ? name : localFolder;
    if (!folder.IsEmpty())
        OpenFolderInFileManager(folder);
}

void CLeft_tab1::PutLocalFileRow(const CString& name, uint32_t size)
{
    if (localFolder.IsEmpty())
        return;
    CListCtrl* list = LocalList();
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (list->GetItemText(row, 0) == name) {
            list->DeleteItem(row);
            if (row < static_cast<int>(g_LocalSizes.size()))
                g_LocalSizes.erase(g_LocalSizes.begin() + row);
            break;
        }
    }
    AppendRow(list, name, 2, SizeText(size), LocalTimeText(std::time(nullptr)));
    g_LocalSizes.push_back(size);
}

void CLeft_tab1::SetFolderText(int side, const CString& text)
{
    if (side == 1) {
        SetDlgItemText(IDC_REMOTE_PATH, text);
        return;
    }
    SetDlgItemText(IDC_LOCAL_PATH, text);
    // A relay shows its staging folder, which the scheme never keeps: before,
    // the next start opened the emptied staging folder instead of the user's.
    if (!IsStagingPath(text))
        g_SchemeFolderText = text;
}

BOOL CLeft_tab1::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_LBUTTONUP || msg->message == WM_KEYUP) {
        g_ClickLatch = false;
    } else if (msg->message == WM_RBUTTONDOWN) {
        CWnd* target = CWnd::FromHandle(msg->hwnd);
        if (target == LocalList() || target == RemoteList()) {
            g_PageAction = target == LocalList() ? kLocalMenu : kRemoteMenu;
            SetTimer(kPageTimer, 1);
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CLeft_tab1::OnTimer(UINT_PTR id)
{
    if (id != kPageTimer)
        return;
    KillTimer(kPageTimer);
    RunPageAction();
}

void CLeft_tab1::RunPageAction()
{
    switch (g_PageAction) {
    case kLocalMenu:
    case kRemoteMenu: {
        CMenu menu;
        if (!menu.LoadMenu(g_PageAction == kLocalMenu ? IDR_LOCAL_MENU : IDR_REMOTE_MENU))
            return;
        POINT at {};
        GetCursorPos(&at);
        if (CMenu* popup = menu.GetSubMenu(0))
            popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
        return;
    }
    case kNewLocalFolder: OnNewFolderDialog(false); return;
    case kNewRemoteFolder: OnNewFolderDialog(true); return;
    case kRefreshLocal: FillLocalList(FilterIndex()); return;
    case kRefreshRemote: AskListing(remoteFolder + u"\\"); return;
    default: return;
    }
}
