#include "app/FileBrowserDialog.h"

#include <algorithm>
#include <ctime>

#include "app/AppState.h"
#include "app/CZorvafileSreach.h"
#include "app/DocumentUi.h"
#include "app/browser_resources.h"
#include "app/frame_resources.h"
#include "geometry/GeometryState.h"
#include "platform/core/files.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/screen.h"

BEGIN_MESSAGE_MAP(FileBrowserDialog, CDialog)
    ON_NOTIFY(NM_CLICK, kIdBrowserList, OnListClick)
    ON_NOTIFY(NM_RCLICK, kIdBrowserList, OnListRightClick)
    ON_NOTIFY(LVN_COLUMNCLICK, kIdBrowserList, OnColumnClick)
    ON_CBN_SELCHANGE(kIdFolderCombo, OnFolderComboChanged)
    ON_BN_CLICKED(kIdUpButton, OnUpButton)
    ON_COMMAND(kCmdBrowserRefresh, OnRefresh)
    ON_COMMAND(kCmdBrowserDelete, OnDeleteFile)
    ON_COMMAND(kCmdBrowserSearch, OnSearch)
END_MESSAGE_MAP()

namespace {

constexpr int kRowImageUp = 0, kRowImageFolder = 1, kRowImageFile = 2, kRowImageDrive = 3;
constexpr int kComboExtraHeight = 100;
constexpr int kIconSize = 32;
// The drive level's entry in the folder combo ('/' is the root folder).
constexpr char16_t kDriveLevelEntry[] = u"\\";

const char16_t* const kSaveExtensions[] = {u"wcx", u"dcx"};
const char16_t* const kOpenExtensions[] = {u"", u"wcx", u"dxf", u"dat"};

CString Extension(const CString& name)
{
    const int dot = name.ReverseFind(u'.');
    CString ext = dot < 0 ? CString() : name.Mid(dot + 1);
    ext.MakeLower();
    return ext;
}

CString LocalTimeText(long long seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return CString();
    if (local.tm_year < 0)
        return LocalTimeText(0);
    CString text;
    text.Format(u"%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// Two decimals, trailing zeros cut down to one.
CString OneOrTwoDecimals(double value)
{
    CString text;
    text.Format(u"%.2f", value);
    if (text.Right(1) == CString(u"0"))
        text = text.Left(text.GetLength() - 1);
    return text;
}

void AppendRow(CListCtrl* list, const CString& name, int image, const CString& size, const CString& time)
{
    const int row = list->InsertItem(list->GetItemCount(), name, image);
    list->SetItemText(row, 1, size);
    list->SetItemText(row, 2, time);
}

bool IsDriveRoot(const CString& folder)
{
    for (const DriveRoot& d : ListDriveRoots())
        if (d.path == folder)
            return true;
    return false;
}

// The texts sorted on, read before the rows move.
struct SortData {
    CListCtrl* list;
    int column;
};

int CompareRows(LPARAM a, LPARAM b, LPARAM data)
{
    const auto* sort = reinterpret_cast<const SortData*>(data);
    const CString x = sort->list->GetItemText(int(a), sort->column);
    const CString y = sort->list->GetItemText(int(b), sort->column);
    return std::u16string_view(x.GetString()).compare(std::u16string_view(y.GetString()));
}

} // namespace

FileBrowserDialog::FileBrowserDialog(UINT templateId, bool saveDialog) : CDialog(templateId), m_save(saveDialog)
{
    RegisterBrowserTemplates();
}

FileBrowserDialog::~FileBrowserDialog() = default;

CListCtrl* FileBrowserDialog::List() const
{
    return dynamic_cast<CListCtrl*>(GetDlgItem(kIdBrowserList));
}

CComboBox* FileBrowserDialog::TypeCombo() const
{
    return dynamic_cast<CComboBox*>(GetDlgItem(kIdTypeCombo));
}

BOOL FileBrowserDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_typeAtOpening = m_save ? g_saveTypeIndex : g_openTypeIndex;
    CListCtrl* list = List();
    list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    for (int id : {kIdTypeCombo, kIdFolderCombo}) {
        if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(id))) {
            combo->ModifyStyle(0, CBS_NOINTEGRALHEIGHT);
            RECT r;
            combo->GetClientRect(&r);
            combo->SetDroppedHeight(r.bottom - r.top + kComboExtraHeight);
        }
    }
    if (CWnd* up = GetDlgItem(kIdUpButton))
        up->EnableWindow(FALSE);
    if (auto* folders = dynamic_cast<CComboBox*>(GetDlgItem(kIdFolderCombo))) {
        m_fillingCombo = true;
        for (const CString& entry : g_folderHistory)
            folders->AddString(entry);
        m_fillingCombo = false;
    }
    ShowFolderInCombo();
    m_images = std::make_unique<CImageList>();
    m_images->Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 4, 4);
    for (UINT icon : {IDI_UP_ROW, IDI_FOLDER_ROW, IDI_FILE_ROW, IDI_DRIVE_ROW})
        m_images->AddIcon(icon);
    list->SetImageList(m_images.get(), LVSIL_SMALL);
    return TRUE;
}

int FileBrowserDialog::CurrentType() const
{
    return m_save ? std::min<int>(g_saveTypeIndex, 1) : std::min<int>(g_openTypeIndex, 3);
}

CString FileBrowserDialog::JoinPath(const CString& folder, const CString& name)
{
    if (folder.IsEmpty())
        return name;
    return folder.Right(1) == CString(u"/") ? folder + name : folder + u"/" + name;
}

void FileBrowserDialog::NormaliseFolder(CString& folder)
{
    folder.Replace(u"我的电脑:", u"");
    folder.Replace(u'\\', u'/');
    if (folder.GetLength() > 1 && folder.Right(1) == CString(u"/"))
        folder = folder.Left(folder.GetLength() - 1);
}

CString FileBrowserDialog::SizeText(long long bytes)
{
    CString text;
    if (bytes < 1024)
        text.Format(u"%d", int(bytes));
    else if (bytes < 1048576)
        text = OneOrTwoDecimals(double(bytes) / 1024.0) + u"K";
    else
        text = OneOrTwoDecimals(double(bytes) / 1048576.0) + u"M";
    return text;
}

void FileBrowserDialog::FillList()
{
    CListCtrl* list = List();
    if (list == nullptr)
        return;
    list->SetRedraw(FALSE);
    list->DeleteAllItems();
    while (list->GetColumnCount() > 0)
        list->DeleteColumn(0);
    list->InsertColumn(0, CString(u"文件"), LVCFMT_LEFT, 200);
    list->InsertColumn(1, CString(u"大小"), LVCFMT_LEFT, 60);
    list->InsertColumn(2, CString(u"时间"), LVCFMT_LEFT, 200);
    NormaliseFolder(g_browseFolder);
    CWnd* up = GetDlgItem(kIdUpButton);
    if (g_browseFolder.IsEmpty()) {
        for (const DriveRoot& d : ListDriveRoots())
            AppendRow(list, d.path, kRowImageDrive, CString(), CString());
        if (up != nullptr)
            up->EnableWindow(FALSE);
    } else {
        AppendRow(list, CString(kUpRowText), kRowImageUp, CString(), CString());
        const CString wanted(m_save ? kSaveExtensions[CurrentType()] : kOpenExtensions[CurrentType()]);
        std::vector<FileEntry> files;
        for (const FileEntry& e : ListFolder(JoinPath(g_browseFolder, CString(u"*")))) {
            if (e.name.Left(1) == CString(u"."))
                continue;
            if (e.isFolder) {
                AppendRow(list, e.name, kRowImageFolder, CString(u"-"), LocalTimeText(e.times.created));
                continue;
            }
            if (!wanted.IsEmpty() && Extension(e.name) != wanted)
                continue;
            if (m_searching && e.name.Find(g_searchText.GetString()) < 0)
                continue;
            files.push_back(e);
        }
        for (const FileEntry& e : files)
            AppendRow(list, e.name, kRowImageFile, SizeText(e.size), LocalTimeText(e.times.created));
        if (up != nullptr)
            up->EnableWindow(TRUE);
    }
    ShowFolderInCombo();
    m_searching = false;
    list->SetRedraw(TRUE);
}

void FileBrowserDialog::ShowFolderInCombo()
{
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kIdFolderCombo));
    if (combo == nullptr)
        return;
    CString entry = g_browseFolder.IsEmpty() ? CString(kDriveLevelEntry) : g_browseFolder;
    if (entry != CString(u"/") && !g_browseFolder.IsEmpty())
        entry += u"/";
    m_fillingCombo = true;
    int at = combo->FindStringExact(-1, entry);
    if (at < 0) {
        g_folderHistory.push_back(entry);
        at = combo->AddString(entry);
    }
    combo->SetCurSel(at);
    m_fillingCombo = false;
}

void FileBrowserDialog::OnFolderComboChanged()
{
    if (m_fillingCombo)
        return;
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kIdFolderCombo));
    const int sel = combo != nullptr ? combo->GetCurSel() : -1;
    if (sel < 0)
        return;
    const CString entry = combo->GetLBText(sel);
    if (entry == CString(kDriveLevelEntry))
        g_browseFolder.Empty();
    else
        g_browseFolder = entry;
    FillList();
}

void FileBrowserDialog::OnTypeComboChanged()
{
    CComboBox* combo = TypeCombo();
    const int sel = combo != nullptr ? combo->GetCurSel() : -1;
    if (sel < 0)
        return;
    (m_save ? g_saveTypeIndex : g_openTypeIndex) = std::uint8_t(sel);
    FillList();
    AfterTypeChanged();
}

int FileBrowserDialog::SelectedRow() const
{
    CListCtrl* list = List();
    return list != nullptr ? list->GetNextItem(-1, LVNI_SELECTED) : -1;
}

void FileBrowserDialog::RowAction(int row)
{
    CListCtrl* list = List();
    if (g_keyDownSeen || list == nullptr || row < 0 || row >= list->GetItemCount())
        return;
    g_keyDownSeen = 1;
    const CString name = list->GetItemText(row, 0);
    const CString size = list->GetItemText(row, 1);
    if (name == CString(kUpRowText)) {
        g_keyDownSeen = 0;
        UpOneLevel();
        return;
    }
    bool changed = true;
    if (size == CString(u"-"))
        g_browseFolder = JoinPath(g_browseFolder, name);
    else if (size.IsEmpty())
        g_browseFolder = name;
    else
        changed = false;
    if (changed) {
        NormaliseFolder(g_browseFolder);
        FillList();
    }
    g_keyDownSeen = 0;
}

// A drive goes up to the drive level; "/a/b" to "/a", "/a" to "/".
void FileBrowserDialog::UpOneLevel()
{
    if (g_browseFolder.IsEmpty())
        return;
    if (IsDriveRoot(g_browseFolder)) {
        g_browseFolder.Empty();
    } else {
        const int cut = g_browseFolder.ReverseFind(u'/');
        g_browseFolder = cut <= 0 ? CString(u"/") : g_browseFolder.Left(cut);
    }
    NormaliseFolder(g_browseFolder);
    FillList();
}

void FileBrowserDialog::SortByColumn(int column)
{
    CListCtrl* list = List();
    if (list == nullptr || column < 0 || column > 2)
        return;
    for (int i = 0; i < list->GetItemCount(); ++i)
        list->SetItemData(i, std::uintptr_t(i));
    SortData data{list, column};
    list->SortItems(&CompareRows, reinterpret_cast<LPARAM>(&data));
}

void FileBrowserDialog::OnListClick(NMHDR* header, LRESULT* result)
{
    const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(header);
    RowAction(item != nullptr && item->iItem >= 0 ? item->iItem : SelectedRow());
    if (result != nullptr)
        *result = 0;
}

void FileBrowserDialog::OnListRightClick(NMHDR*, LRESULT* result)
{
    CMenu menu;
    if (menu.LoadMenu(IDR_BROWSER_MENU) && menu.GetSubMenu(0) != nullptr) {
        POINT at{};
        GetCursorPos(&at);
        menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
    }
    if (result != nullptr)
        *result = 0;
}

void FileBrowserDialog::OnColumnClick(NMHDR* header, LRESULT* result)
{
    const auto* view = reinterpret_cast<const NMLISTVIEW*>(header);
    if (view != nullptr)
        SortByColumn(view->iSubItem);
    if (result != nullptr)
        *result = 0;
}

void FileBrowserDialog::Defer(int action)
{
    m_pendingAction = action;
    if (CWnd* list = List())
        list->EnableWindow(FALSE);
    SetTimer(kActionTimer, 2);
}

void FileBrowserDialog::OnTimer(UINT_PTR id)
{
    if (id != kActionTimer)
        return;
    KillTimer(kActionTimer);
    if (CWnd* list = List())
        list->EnableWindow(TRUE);
    const int action = m_pendingAction;
    m_pendingAction = kActionNone;
    switch (action) {
    case kActionRefresh:
        FillList();
        break;
    case kActionDelete:
        DeleteSelectedFile();
        break;
    case kActionSearch:
        RunSearch();
        break;
    default:
        break;
    }
}

void FileBrowserDialog::RunSearch()
{
    CZorvafileSreach search;
    if (search.DoModal() != IDOK)
        return;
    m_searching = true;
    if (CComboBox* combo = TypeCombo(); combo != nullptr && combo->GetCurSel() >= 0)
        (m_save ? g_saveTypeIndex : g_openTypeIndex) = std::uint8_t(combo->GetCurSel());
    FillList();
}

bool FileBrowserDialog::IsFor(const MSG& msg, int control) const
{
    CWnd* wnd = GetDlgItem(control);
    return wnd != nullptr && msg.hwnd != nullptr && msg.hwnd == wnd->GetSafeHwnd();
}

bool FileBrowserDialog::SelectFirstRow()
{
    CListCtrl* list = List();
    if (list == nullptr || list->GetItemCount() == 0 || SelectedRow() >= 0)
        return false;
    list->SetFocus();
    list->SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return true;
}

// The dialogs are their own windows: they keep the key latch themselves. A
// press of Enter acts at once; every other key acts at its release.
BOOL FileBrowserDialog::PreTranslateMessage(MSG* msg)
{
    switch (msg->message) {
    case WM_KEYDOWN: {
        const UINT key = UINT(msg->wParam);
        bool consumed = false;
        if (key == VK_RETURN) {
            // In the open dialog Enter goes on to the default button (a file
            // row opens); in the save dialog it stays with the list.
            if (!m_save) {
                RowAction(SelectedRow());
            } else if (IsFor(*msg, kIdBrowserList)) {
                RowAction(SelectedRow());
                consumed = true;
            }
        } else if (key == VK_UP || key == VK_DOWN) {
            consumed = SelectFirstRow();
        }
        g_keyDownSeen = 1;
        if (consumed)
            return TRUE;
        break;
    }
    case WM_KEYUP:
        if (!g_keyDownSeen)
            break;
        g_keyDownSeen = 0;
        if (msg->wParam == VK_DELETE) {
            OnDeleteFile();
            return TRUE;
        }
        if (OnKeyRelease(UINT(msg->wParam), *msg))
            return TRUE;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        g_keyDownSeen = 0;
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(msg);
}

void FileBrowserDialog::OnDestroy()
{
    const std::uint8_t now = m_save ? g_saveTypeIndex : g_openTypeIndex;
    if (now != m_typeAtOpening)
        g_SettingsDirty = 1;
    if (CListCtrl* list = List())
        list->SetImageList(nullptr, LVSIL_SMALL);
    m_images.reset();
    CDialog::OnDestroy();
}
