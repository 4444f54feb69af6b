#include "process/CZorvasql_cutcount.h"

#include "app/AppState.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/message_box.h"
#include "platform/ui/dialog_template.h"
#include "process/CZorvaSqlPage.h"
#include "process/ProcessState.h"
#include "process/CZorvatrailSql.h"
#include "process/number_fields.h"
#include "process/path_fields.h"
#include "process/tab_pages.h"

namespace {

constexpr unsigned IDD_CUT_COUNT = 162;
constexpr int IDC_PAGE_TAB = 1189;
constexpr int kMargin = 6;              // pixels around the tab and buttons

void RegisterTemplate()
{
    static const bool registered = [] {
        using namespace dlg;
        const auto S = [](const char16_t* t) { return CString(t); };
        RegisterDialogTemplate(DlgTemplate{IDD_CUT_COUNT, S(u"参数"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 120, {
            Tab(IDC_PAGE_TAB, 4, 4, 192, 90),
            DefPushButton(IDOK, S(u"确定(&S)"), 86, 100, 50, 14),
            PushButton(IDCANCEL, S(u"取消"), 142, 100, 50, 14),
        }});
        return true;
    }();
    (void)registered;
}

std::unique_ptr<CZorvaSqlPage> PageFor(std::uint8_t codingMode)
{
    switch (KnownCodingMode(codingMode)) {
    case kCodingMidWireHl: return std::make_unique<CZorva_SqlTab2>();
    case kCodingHfGroup: return std::make_unique<CZorva_SqlTab3>();
    case kCodingHfClass2: return std::make_unique<CZorva_SqlTab4>();
    case kCodingHfClass4: return std::make_unique<CZorva_SqlTab5>();
    default: return std::make_unique<CZorva_SqlTab1>();
    }
}

} // namespace

CZorvasql_cutcount::CZorvasql_cutcount() : CDialog(IDD_CUT_COUNT)
{
    RegisterTemplate();
}

CZorvasql_cutcount::~CZorvasql_cutcount()
{
    if (g_pCutCountDlg == this)
        g_pCutCountDlg = nullptr;
}

BOOL CZorvasql_cutcount::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_pCutCountDlg = this;
    CWnd* tab = GetDlgItem(IDC_PAGE_TAB);
    m_page = PageFor(g_MachiningSettings.codingMode);
    if (auto* t = dynamic_cast<CTabCtrl*>(tab))
        t->InsertItem(0, CString());
    if (tab != nullptr && m_page->CreateIn(tab)) {
        FitToPage();
        m_page->ShowWindow(SW_SHOW);
    }
    if (g_SelectedPassRow >= 0 && g_SelectedPassRow < 7) {
        m_cut = g_MachiningSettings.passCuts[g_SelectedPassRow];
        ShowCutOnPage(m_page.get(), m_page->Layout(), m_cut, false);
        CString caption;
        caption.Format(u"第 %d 刀", g_SelectedPassRow + 1);
        m_page->SetDlgItemText(IDC_CUT_PAGE_CAPTION, caption);
    }
    return TRUE;
}

// The tab takes the page's size; the buttons sit under it at the right.
void CZorvasql_cutcount::FitToPage()
{
    CWnd* tab = GetDlgItem(IDC_PAGE_TAB);
    const SIZE tabSize = TabSizeFor(tab, WindowSize(m_page.get()));
    tab->MoveWindow(kMargin, kMargin, tabSize.cx, tabSize.cy);
    PlaceInTab(tab, m_page.get());
    const RECT ok = ChildRect(GetDlgItem(IDOK));
    const RECT cancel = ChildRect(GetDlgItem(IDCANCEL));
    const int buttonTop = kMargin + tabSize.cy + kMargin;
    const int right = kMargin + tabSize.cx;
    const int cancelWidth = cancel.right - cancel.left, okWidth = ok.right - ok.left;
    GetDlgItem(IDCANCEL)->MoveWindow(right - cancelWidth, buttonTop, cancelWidth, cancel.bottom - cancel.top);
    GetDlgItem(IDOK)->MoveWindow(right - cancelWidth - kMargin - okWidth, buttonTop, okWidth, ok.bottom - ok.top);
    RECT client;
    GetClientRect(&client);
    GrowClient(this, right + kMargin - client.right, buttonTop + (ok.bottom - ok.top) + kMargin - client.bottom);
}

// Before, an allowance that was no number was taken as 0: the pass then
// cut to size.
void CZorvasql_cutcount::OnOK()
{
    if (m_page != nullptr && !numfield::AllNumbers({{m_page.get(), IDC_CUT_ALLOWANCE, u"余量(mm)"}}))
        return;
    if (m_page != nullptr)
        ReadCutFromPage(m_page.get(), m_page->Layout(), m_cut, false);
    if (g_SelectedPassRow >= 0 && g_SelectedPassRow < 7)
        g_MachiningSettings.passCuts[g_SelectedPassRow] = m_cut;
    EndDialog(IDOK);
}

void CZorvasql_cutcount::OnDestroy()
{
    CDialog::OnDestroy();
    if (g_pCutCountDlg == this)
        g_pCutCountDlg = nullptr;
}

HBRUSH CZorvasql_cutcount::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (HBRUSH brush = ProcessEditColours(dc, kind))
        return brush;
    return CDialog::OnCtlColor(dc, wnd, kind);
}
