#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CDialog.h"

#include <cstdint>
#include <memory>
#include <vector>

class CComboBox;
class CImageList;
class CListCtrl;

// The file page: the host's folders and files above, those of the selected
// machine below, and the buttons that start and stop transfers.
class CLeft_tab1 : public CDialog {
public:
    // What the page's timer runs next (g_PageAction).
    enum PageAction { kNewRemoteFolder = 100, kNewLocalFolder = 101, kRefreshLocal = 120, kRefreshRemote = 121,
                      kLocalMenu = 301, kRemoteMenu = 302 };
    static constexpr UINT_PTR kPageTimer = 1;

    CLeft_tab1();
    ~CLeft_tab1() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnTimer(UINT_PTR id) override;
    void OnOK() override {}
    void OnCancel() override {}

    // Host side.
    void FillLocalList(int filter);
    void OnLocalListClick(NMHDR* header, LRESULT* result);
    void OnLocalListDblClk(NMHDR* header, LRESULT* result);
    void OnLocalUp();
    void OnRefreshLocal();
    void OnNewLocalFolder();
    void OnDeleteLocal();
    void OnOpenInExplorer();
    void AddLocalFolderRow();
    void PutLocalFileRow(const CString& name, uint32_t size);

    // Machine side.
    void InitRemoteList();
    void AddRemoteEntry(uint8_t kind, uint32_t size, uint64_t fileTime, const CString& name);
    void EndRemoteListing();
    void RemoveRemoteRow(int row);
    void AddRemoteFolderRow();
    void PutRemoteFileRow(const CString& name, uint32_t size);
    void OnRemoteListClick(NMHDR* header, LRESULT* result);
    void OnRemoteListDblClk(NMHDR* header, LRESULT* result);
    void OnRemoteUp();
    void OnRefreshRemote();
    void OnNewRemoteFolder();
    void OnDeleteRemote();

    // side 0 the host's path box, 1 the machine's.
    void SetFolderText(int side, const CString& text);

    // Transfers.
    void OnSendFiles();
    void OnReceiveFiles();
    void OnStop();
    void OnMultiMachineCheck();

    int FilterIndex() const;
    CListCtrl* LocalList() const;
    CListCtrl* RemoteList() const;

    CString localFolder;  // the host folder shown; empty: the drive view
    CString remoteFolder; // the machine folder shown; empty: its root

private:
    void AskListing(const CString& path);
    void RunPageAction();
    void OnNewFolderDialog(bool remote);
    // Takes the click latch; false when this press was handled already.
    static bool TakeClickLatch();

    std::unique_ptr<CImageList> m_images;

    DECLARE_MESSAGE_MAP()
};

// Folder texts of both sides: the machine's drive names collapse, "我的电脑:"
// goes, and one trailing separator is dropped (never the root "/" itself).
void NormaliseFolder(CString& folder);
// "%d" below 1 KB, else FormatDecimal2 of K or M.
CString SizeText(int64_t size);
// The parent of a host folder: "/a/b" -> "/a" -> "/" -> "" (the drive view).
CString ParentFolder(const CString& folder);
// "%Y/%m/%d %H:%M:%S" in local time of seconds since 1970.
CString LocalTimeText(int64_t seconds);
// A host folder and a name joined with one separator.
CString JoinFolder(const CString& folder, const CString& name);
