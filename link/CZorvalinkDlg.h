#pragma once

#include "link/CLeft_tab1.h"
#include "link/CLinkUdp.h"
#include "link/ILinkDisplay.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CStatusBar.h"
#include "shared/CLabel.h"

#include <memory>

class CComboBox;
class CImageList;
class CListBox;
class CListCtrl;
class CTabCtrl;

// The main dialog of zorvalink: machine list, file page, log, status bar
// and the scheme controls. It owns the socket and the 100 ms timer, and is
// the engine's display.
class CZorvalinkDlg : public CDialog, public ILinkDisplay {
public:
    CZorvalinkDlg();
    ~CZorvalinkDlg() override;

    BOOL OnInitDialog() override;
    void OnDestroy() override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnTimer(UINT_PTR id) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override; // Enter and button 1: reload the list
    void DoDataExchange(CDataExchange* pDX) override;

    void LayoutControls();
    // The smallest client area at which the layout leaves every control of
    // the dialog and of the file page whole and apart.
    CSize MinimumClientSize() const;
    void ShowPage();
    CString GetMachineName(int row) const;
    // True (after logging why) while a batch runs: the action must not run.
    bool TransferGuard();

    // Handlers of the dialog's own buttons, boxes and menus.
    void OnReplaceCheck();
    void OnCancelCheck();
    void OnMaximizeCheck();
    void OnReloadList();
    void OnSelectAll();
    void OnSelectNone();
    void OnSaveScheme();
    void OnSchemeChange();
    void OnClearSchemes();
    void OnClearLog();
    void OnChangeMachineNumber();
    void OnMachineListClick(NMHDR* header, LRESULT* result);
    void OnMachineListCustomDraw(NMHDR* header, LRESULT* result);

    // Settings: the five boxes and the scheme combo's text.
    void LoadSettings();
    void SaveSettings();
    // The boxes into g_LinkSettings, which the engine reads.
    void TakeCheckStates();

    // ILinkDisplay.
    void AddLog(const CString& text) override;
    void SetStatusText(const CString& text) override;
    void EnableSchemeCombo(bool enable) override;
    void EnableTransferLabel(bool enable) override;
    int MachineRowCount() const override;
    void ResetMachineList() override;
    void InsertMachineRow(int row) override;
    CString GetMachineCell(int row, int column) const override;
    void SetMachineCell(int row, int column, const CString& text) override;
    void SetMachineRowImage(int row, int image) override;
    void SetMachineRowColor(int row, int colorCode) override;
    bool IsMachineRowChecked(int row) const override;
    void SetMachineRowChecked(int row, bool checked) override;
    void InitRemoteList() override;
    void AddRemoteEntry(uint8_t kind, uint32_t size, uint64_t fileTime, const CString& name) override;
    void EndRemoteListing() override;
    void SetRemoteFolderText(const CString& folder) override;
    void RemoveRemoteRow(int row) override;
    void AddRemoteFolderRow() override;
    void PutLocalFileRow(const CString& name, uint32_t size) override;
    void PutRemoteFileRow(const CString& name, uint32_t size) override;
    CString GetLocalFolder() const override;
    void ShowLocalFolder(const CString& folder) override;
    bool AskMachineNumber(uint8_t& letter, uint8_t& number) override;

    CListCtrl* MachineList() const;
    CListBox* LogList() const;
    CComboBox* SchemeCombo() const;
    CTabCtrl* Tab() const;
    CStatusBar& StatusBar() { return m_statusBar; }
    CLeft_tab1& FilePage() { return m_filePage; }
    CLinkUdp& Udp() { return m_udp; }

private:
    void StartDialog();
    void FillSchemeCombo();
    void LoadSelectedScheme();
    void ShowStartLines();
    void ShowContextMenu(UINT menuId, const MSG& msg);
    void ResetSchemeCombo();

    CStatusBar m_statusBar;
    CLeft_tab1 m_filePage;
    CLinkUdp m_udp;
    CLabel m_transferLabel;
    std::unique_ptr<CImageList> m_machineImages;
    bool m_logCleared = false; // the first click on the machine list clears the start lines
    bool m_started = false;
    CSize m_minimum;  // MinimumClientSize, taken at the start
    CSize m_shrunkTo; // the last smaller size the window was grown back from

    DECLARE_MESSAGE_MAP()
};
