#pragma once

// What the built-in open and save dialogs share: the report list of drives,
// folders and files with its icons, the folder history combo, up one level,
// the row action, column sorting, and the refresh / delete / search
// actions of the list's popup menu, run 2 ms later by timer 2.
//
// Paths are those of this system: the drive level lists the root folder,
// the home folder and mounted removable media; a folder is shown and joined
// with '/'. g_browseFolder holds no trailing separator ("/" for the root),
// and is empty at the drive level.

#include <memory>

#include "platform/ui/CDialog.h"
#include "platform/ui/CImageList.h"

class CListCtrl;
class CComboBox;

class FileBrowserDialog : public CDialog {
public:
    FileBrowserDialog(UINT templateId, bool saveDialog);
    ~FileBrowserDialog() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

    // The file type of the type combo (save 0..1, open 0..3).
    int CurrentType() const;
    // Rows of the list (drive level, or the up row, folders and files).
    void FillList();
    // The row action: up row, folder or drive; a file row does nothing.
    void RowAction(int row);
    void UpOneLevel();
    // Sorts the rows by the texts of a column.
    void SortByColumn(int column);
    CListCtrl* List() const;
    int SelectedRow() const;
    // "/a/b" joined with a name.
    static CString JoinPath(const CString& folder, const CString& name);
    static void NormaliseFolder(CString& folder);
    // "1.5K" and the like.
    static CString SizeText(long long bytes);

    // The list's popup commands (and the Delete key).
    void OnRefresh() { Defer(kActionRefresh); }
    void OnDeleteFile() { Defer(kActionDelete); }
    void OnSearch() { Defer(kActionSearch); }

protected:
    enum Action { kActionNone = 0, kActionRefresh = 100, kActionDelete = 101, kActionSearch = 102 };
    static constexpr UINT kActionTimer = 2;

    void OnListClick(NMHDR* header, LRESULT* result);
    void OnListRightClick(NMHDR* header, LRESULT* result);
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnFolderComboChanged();
    void OnTypeComboChanged();
    void OnUpButton() { UpOneLevel(); }

    // Each dialog's own key table; true when the key was consumed. The key
    // goes to the control that has the focus (msg->hwnd).
    virtual bool OnKeyRelease(UINT key, const MSG& msg) = 0;
    virtual void AfterTypeChanged() {}
    virtual void DeleteSelectedFile() = 0;
    void Defer(int action);
    void RunSearch();
    // Offers the listed folder to the folder combo and selects it.
    void ShowFolderInCombo();
    bool IsFor(const MSG& msg, int control) const;
    // Up, Down with no row selected: the first row gets the selection.
    bool SelectFirstRow();
    CComboBox* TypeCombo() const;

    bool m_save;
    int m_pendingAction = kActionNone;
    bool m_searching = false;
    bool m_fillingCombo = false;
    std::uint8_t m_typeAtOpening = 0;
    std::unique_ptr<CImageList> m_images;

    DECLARE_MESSAGE_MAP()
};

// Texts of the row kinds.
inline constexpr char16_t kUpRowText[] = u"返回上一级";
