#include "process/CZorvatrailSql.h"

#include <algorithm>

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/CZorva_SkuTab.h"
#include "process/CZorvasql_inputFile.h"
#include "process/CZorvasql_savefile.h"
#include "process/CZorvasql_search.h"
#include "process/ProcessState.h"
#include "process/field_io.h"
#include "process/process_table.h"

namespace {

constexpr unsigned IDD_PROCESS_TABLE = 156;
constexpr int IDC_TAB = 1189, IDC_PASS_COUNT = 1177, IDC_LIST = 1008;
constexpr int IDC_EXPORT = 1180, IDC_IMPORT = 1182, IDC_RESET = 1183, IDC_SAVE = 1184, IDC_RESTORE = 1185;
constexpr int IDC_ADD = 1178, IDC_MODIFY = 1079, IDC_DELETE = 1179, IDC_SEARCH = 1186, IDC_SELECT = 1181;
constexpr int IDC_OUTER = 1043, IDC_INNER = 1029;
// Page area in dialog units: the widest page with a frame; narrower pages
// leave the header fields where they are.
constexpr int kTabX = 4, kTabY = 4, kNarrowestTab = 168, kTabHeight = 152;
constexpr int kPanelWidth = 176, kMinDialogWidth = 496;  // the list's columns fit
constexpr int kButtonRowY = 180, kListY = 200, kListHeight = 140;

int PageWidthDlu(const SevenCutLayout* layout)
{
    if (layout == nullptr)
        return 0;
    return FindDialogTemplate(layout->templateId) != nullptr ? int(FindDialogTemplate(layout->templateId)->cx) : 0;
}

void AddPanel(DlgTemplate& t, int x)
{
    using namespace dlg;
    const auto S = [](const char16_t* text) { return CString(text); };
    const struct {
        const char16_t* label;
        int id;
        unsigned style;
        const char16_t* hint;
    } kFields[] = {
        {u"工艺号 ：", 1170, ES_NUMBER, u"(0 - 1000)"},   {u"钼丝直径：", 1171, 0, u"(0.05-0.5mm)"},
        {u"工件厚度：", 1172, 0, u"(0.1-2000mm)"},       {u"钼丝补尝：", 1173, 0, u"(0.05-0.15mm)"},
        {u"切割效率：", 1174, 0, u"(mm2 / min)"},        {u"光洁度 ：", 1175, 0, nullptr},
    };
    int y = 6;
    for (const auto& f : kFields) {
        t.items.push_back(LText(-1, S(f.label), x, y + 2, 44, 10));
        t.items.push_back(EditText(f.id, x + 46, y, 56, 12, ES_AUTOHSCROLL | WS_TABSTOP | f.style));
        if (f.hint != nullptr)
            t.items.push_back(LText(-1, S(f.hint), x + 106, y + 2, 66, 10));
        y += 16;
    }
    t.items.push_back(AutoRadioButton(IDC_OUTER, S(u"外形"), x + 46, y + 1, 40, 10, WS_GROUP | WS_TABSTOP));
    t.items.push_back(AutoRadioButton(IDC_INNER, S(u"内孔"), x + 90, y + 1, 40, 10));
    y += 16;
    t.items.push_back(LText(-1, S(u"材  料："), x, y + 2, 44, 10, WS_GROUP));
    t.items.push_back(EditText(1176, x + 46, y, 124, 12, ES_AUTOHSCROLL | WS_TABSTOP));
    y += 20;
    t.items.push_back(PushButton(IDC_ADD, S(u"新增(&T)"), x, y, 40, 15));
    t.items.push_back(PushButton(IDC_MODIFY, S(u"修改(&C)"), x + 43, y, 40, 15));
    t.items.push_back(PushButton(IDC_DELETE, S(u"删除(&D)"), x + 86, y, 40, 15));
    t.items.push_back(PushButton(IDC_SEARCH, S(u"搜索(&H)"), x + 129, y, 40, 15));
    y += 19;
    t.items.push_back(PushButton(IDC_SELECT, S(u"---------选中(&F)--------"), x, y, 118, 15));
    t.items.push_back(PushButton(IDCANCEL, S(u"退出(&Esc)"), x + 121, y, 48, 15));
}

void AddButtonRow(DlgTemplate& t)
{
    using namespace dlg;
    const auto S = [](const char16_t* text) { return CString(text); };
    const int y = kButtonRowY;
    t.items.push_back(LText(-1, S(u"切割刀次："), 6, y + 3, 40, 10));
    t.items.push_back(ComboBox(IDC_PASS_COUNT, 48, y, 30, 120, CBS_DROPDOWNLIST | WS_TABSTOP));
    t.items.push_back(PushButton(IDC_EXPORT, S(u"存到U盘"), 84, y, 44, 15));
    t.items.push_back(PushButton(IDC_IMPORT, S(u"导入"), 131, y, 36, 15));
    t.items.push_back(PushButton(IDC_RESET, S(u"重置(&E)"), 176, y, 40, 15));
    t.items.push_back(PushButton(IDC_SAVE, S(u"保存(&S)"), 219, y, 40, 15));
    t.items.push_back(PushButton(IDC_RESTORE, S(u"恢复(&R)"), 262, y, 40, 15));
}

// The template follows the page of the coding version: the header fields
// stand right of it.
void RegisterTableTemplate(int pageWidth)
{
    const int tabWidth = std::max(kNarrowestTab, pageWidth + 4);
    const int panelX = kTabX + tabWidth + 8;
    const int width = std::max(kMinDialogWidth, panelX + kPanelWidth);
    DlgTemplate t{IDD_PROCESS_TABLE, CString(u"数据表"), WS_POPUP | WS_CAPTION | WS_SYSMENU, width,
                  kListY + kListHeight + 6, {}};
    t.items.push_back(dlg::Tab(IDC_TAB, kTabX, kTabY, tabWidth, kTabHeight));
    AddPanel(t, panelX);
    AddButtonRow(t);
    t.items.push_back(dlg::ListView(IDC_LIST, 4, kListY, width - 8, kListHeight,
                                    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP));
    RegisterDialogTemplate(t);
}

} // namespace

BEGIN_MESSAGE_MAP(CZorvatrailSql, CDialog)
    ON_CBN_SELCHANGE(IDC_PASS_COUNT, OnPassCountChange)
    ON_NOTIFY(NM_CLICK, IDC_LIST, OnListClick)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_LIST, OnListCustomDraw)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_MODIFY, OnModify)
    ON_BN_CLICKED(IDC_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_RESET, OnReset)
    ON_BN_CLICKED(IDC_SAVE, OnSave)
    ON_BN_CLICKED(IDC_RESTORE, OnRestore)
    ON_BN_CLICKED(IDC_SEARCH, OnSearch)
    ON_BN_CLICKED(IDC_IMPORT, OnImport)
    ON_BN_CLICKED(IDC_EXPORT, OnSaveToRemovable)
    ON_BN_CLICKED(IDC_SELECT, OnSelect)
END_MESSAGE_MAP()

HBRUSH ProcessEditColours(CDC* dc, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_EDIT)
        return nullptr;
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkMode(TRANSPARENT);
    return EditBrush();
}

bool PickProcessRecord()
{
    CZorvatrailSql dialog;
    return dialog.DoModal() == IDOK && g_SelectedProcessIndex >= 0 &&
           g_SelectedProcessIndex < int(g_ProcessTable.size());
}

CZorvatrailSql::CZorvatrailSql() : CDialog(IDD_PROCESS_TABLE)
{
    const SevenCutLayout* layout = CZorva_SkuTab::LayoutFor(g_MachiningSettings.codingMode);
    if (layout != nullptr)
        m_page = std::make_unique<CZorva_SkuTab>(*layout);
    RegisterTableTemplate(PageWidthDlu(layout));
}

CZorvatrailSql::~CZorvatrailSql()
{
    if (g_ProcessTableDialog == this)
        g_ProcessTableDialog = nullptr;
}

BOOL CZorvatrailSql::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_ProcessTableDialog = this;
    if (auto* passes = dynamic_cast<CComboBox*>(GetDlgItem(IDC_PASS_COUNT)))
        for (int n = 1; n <= kSevenCutRows; ++n) {
            CString text;
            text.Format(u"%d", n);
            passes->AddString(text);
        }
    g_SelectedProcessIndex = -1;
    g_ProcessFilterActive = 0;
    if (auto* list = dynamic_cast<CListCtrl*>(GetDlgItem(IDC_LIST)))
        list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_selectedIndex = -1;
    // Fast wire has no table, and a coding value that names no version is
    // taken as fast wire: the dialog closes as if cancelled.
    if (m_page == nullptr) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    g_ProcessTableName = ProcessTableNameFor(g_MachiningSettings.codingMode);
    CreatePage();
    m_opened = true;
    proc::SetFieldChecked(this, IDC_OUTER, true);
    ShowRecord(OpeningProcessRecord());
    ReloadTable();
    SetPageTitle(CString(u"--"));
    return TRUE;
}

void CZorvatrailSql::CreatePage()
{
    auto* tab = dynamic_cast<CTabCtrl*>(GetDlgItem(IDC_TAB));
    if (tab == nullptr || !m_page->Create(m_page->Layout().templateId, tab))
        return;
    RECT page;
    m_page->GetClientRect(&page);
    RECT frame = page;
    tab->AdjustRect(TRUE, &frame);
    RECT at;
    tab->GetWindowRect(&at);
    ScreenToClient(&at);
    // The tab takes the page's size plus its frame; it shows no tabs.
    tab->MoveWindow(at.left, at.top, std::max(frame.right - frame.left, int(at.right - at.left)),
                    frame.bottom - frame.top);
    m_page->MoveWindow(page.left - frame.left, page.top - frame.top, page.right - page.left, page.bottom - page.top);
    m_page->ShowWindow(SW_SHOW);
}

void CZorvatrailSql::ReloadTable()
{
    // A table that fails its check is not taken, and the records of the
    // version opened before are not shown as this version's: the dialog
    // starts from an empty table that is only saved once it is changed,
    // and the file is kept in a backup before it is overwritten.
    switch (LoadProcessTable(ProcessTablePath())) {
    case TableLoad::loaded: g_ProcessTableSource = TableSource::loaded; break;
    case TableLoad::missing:
        g_ProcessTable.clear();
        g_ProcessTableSource = TableSource::missing;
        break;
    case TableLoad::rejected:
        g_ProcessTable.clear();
        g_ProcessTableSource = TableSource::rejected;
        break;
    }
    g_ProcessTableChanged = 0;
    m_selectedIndex = -1;
    ShowSourceInCaption();
    FillList();
}

void CZorvatrailSql::ShowSourceInCaption()
{
    SetWindowText(g_ProcessTableSource == TableSource::rejected ? CString(u"数据表 - 工艺表文件校验失败，未载入")
                                                                 : CString(u"数据表"));
}

bool CZorvatrailSql::SaveTable()
{
    if (g_ProcessTableName.IsEmpty())
        return false;
    if (!SaveProcessTable(ProcessTablePath())) {
        AfxMessageBox(CString(u"保存文件失败"), MB_OK | MB_ICONERROR);
        return false;
    }
    g_ProcessTableSource = TableSource::loaded;
    g_ProcessTableChanged = 0;
    ShowSourceInCaption();
    return true;
}

void CZorvatrailSql::OnDestroy()
{
    if (g_ProcessTableDialog == this)
        g_ProcessTableDialog = nullptr;
    // Closing used to save whatever the dialog held, also a table that
    // had failed to load, over the file.
    if (m_opened && g_ProcessTableChanged)
        SaveTable();
    m_opened = false;
}

HBRUSH CZorvatrailSql::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (HBRUSH brush = ProcessEditColours(pDC, nCtlColor))
        return brush;
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CZorvatrailSql::OnPassCountChange()
{
    if (auto* passes = dynamic_cast<CComboBox*>(GetDlgItem(IDC_PASS_COUNT)))
        ShowPassRows(passes->GetCurSel());
}

void CZorvatrailSql::OnAdd()
{
    const int number = NextProcessNumber(g_ProcessTable);
    if (number == 0) {
        AfxMessageBox(CString(u"工艺号已超出储存范围!"), MB_OK);
        return;
    }
    proc::SetFieldInt(this, 1170, number);
    trail_sql_t record{};
    RecordFromControls(record);
    g_ProcessTable.push_back(record);
    g_ProcessTableChanged = 1;
    SaveTable();
    // The fields keep what was typed (only the number was replaced): the
    // record is not shown again.
    FillList();
}

void CZorvatrailSql::OnModify()
{
    if (m_selectedIndex < 0 || m_selectedIndex >= int(g_ProcessTable.size()))
        return;
    trail_sql_t& record = g_ProcessTable[size_t(m_selectedIndex)];
    RecordFromControls(record);
    g_ProcessTableChanged = 1;
    ShowRecord(record);
    FillList();
}

void CZorvatrailSql::OnDelete()
{
    if (m_selectedIndex < 0 || m_selectedIndex >= int(g_ProcessTable.size()))
        return;
    g_ProcessTable.erase(g_ProcessTable.begin() + m_selectedIndex);
    g_ProcessTableChanged = 1;
    ShowRecord(DefaultProcessRecord());
    m_selectedIndex = -1;
    SetPageTitle(CString(u"--"));
    FillList();
}

void CZorvatrailSql::OnReset()
{
    ShowRecord(DefaultProcessRecord());
    m_selectedIndex = -1;
    SetPageTitle(CString(u"--"));
    MarkSelectedRow();
}

void CZorvatrailSql::OnSave()
{
    SaveTable();
}

// Unsaved edits are dropped only when the file passes its check.
void CZorvatrailSql::OnRestore()
{
    const TableLoad result = LoadProcessTable(ProcessTablePath());
    if (result == TableLoad::loaded) {
        g_ProcessTableSource = TableSource::loaded;
        g_ProcessTableChanged = 0;
        m_selectedIndex = -1;
    } else if (result == TableLoad::rejected) {
        g_ProcessTableSource = TableSource::rejected;
    }
    ShowSourceInCaption();
    FillList();
}

void CZorvatrailSql::OnSearch()
{
    CZorvasql_search search;
    search.DoModal();
    FillList();
    g_keyDownSeen = 0;
}

void CZorvatrailSql::OnImport()
{
    CZorvasql_inputFile import;
    // An import replaces the whole table: no record index still holds.
    if (import.DoModal() == IDOK && import.Imported())
        m_selectedIndex = -1;
    FillList();
    g_keyDownSeen = 0;
}

void CZorvatrailSql::OnSaveToRemovable()
{
    CZorvasql_savefile save;
    save.DoModal();
    g_keyDownSeen = 0;
}

void CZorvatrailSql::OnSelect()
{
    if (m_selectedIndex < 0 || m_selectedIndex >= int(g_ProcessTable.size()))
        return;
    g_SelectedProcessIndex = m_selectedIndex;
    EndDialog(IDOK);
}
