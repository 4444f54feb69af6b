#pragma once

// The process table dialog "数据表": browses, adds, modifies, deletes,
// filters, imports, exports and picks records of the process-parameter
// table of the current coding version. The controls always show one
// record, which need not be in the table.

#include <memory>
#include <vector>

#include "platform/ui/CDialog.h"
#include "process/trail_sql_t.h"

class CZorva_SkuTab;

class CZorvatrailSql : public CDialog {
public:
    CZorvatrailSql();
    ~CZorvatrailSql() override;

    BOOL OnInitDialog() override;
    void OnDestroy() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;

    void OnPassCountChange();
    void OnListClick(NMHDR* header, LRESULT* result);
    void OnListCustomDraw(NMHDR* header, LRESULT* result);
    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnReset();
    void OnSave();
    void OnRestore();
    void OnSearch();
    void OnImport();
    void OnSaveToRemovable();
    void OnSelect();

    void ShowRecord(const trail_sql_t& record);
    void RecordFromControls(trail_sql_t& record) const;
    void FillList();
    void ShowPassRows(int index);
    void SetPageTitle(const CString& text);
    void ReloadTable();

    CZorva_SkuTab* Page() const { return m_page.get(); }
    // The record index the selection stands for; -1 for none.
    int SelectedIndex() const { return m_selectedIndex; }
    // The record index of each list row.
    const std::vector<int>& RowMap() const { return m_rowMap; }

private:
    void CreatePage();
    void MarkSelectedRow();
    void ShowSourceInCaption();
    // Saves the table; tells the user when that failed.
    bool SaveTable();

    std::unique_ptr<CZorva_SkuTab> m_page;
    std::vector<int> m_rowMap;
    // Kept as a record index: after a filtered refill a row number named
    // another record, and modify, delete and pick acted on that one.
    int m_selectedIndex = -1;
    bool m_opened = false;

    DECLARE_MESSAGE_MAP()
};

// Runs the table dialog to pick a record (the multi-pass path dialog's
// "转数据库"). True when the user chose one with 选中: its index in
// g_ProcessTable is then in g_SelectedProcessIndex.
bool PickProcessRecord();

// The edit fields of the process dialogs: black text on the light blue
// edit brush; null for every other control.
HBRUSH ProcessEditColours(CDC* dc, UINT nCtlColor);

// The record shown when the dialog opens (from the machining settings)
// and the one shown by 重置 and after 删除.
trail_sql_t OpeningProcessRecord();
trail_sql_t DefaultProcessRecord();
