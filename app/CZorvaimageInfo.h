#pragma once

// "属性 (F11)": the floating panel that shows the entity last picked while it
// is open (type, colour, line style and its geometry as rows) and applies a
// new colour and line style to it and to the selection, and, with
// "修改参数", edited geometry rows. The entity is the view's panel unit
// (DocumentUi::PanelUnit); the list holds texts only.

#include <memory>

#include "platform/ui/CDialog.h"
#include "shared/CLabel.h"

class CEdit;
class CListCtrl;
class CUnit;

class CZorvaimageInfo : public CDialog {
public:
    CZorvaimageInfo();
    ~CZorvaimageInfo() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnCancel() override;
    void OnOK() override { ApplyEdits(); }

    // Fills the panel from the panel unit; only clears the list without one.
    void ShowEntity();
    // Button "保存(&S)".
    void ApplyEdits();
    // In-place editing of a value cell.
    void BeginCellEdit(int row);
    void CommitCellEdit();
    void ChooseColour();
    void Hide();

    CListCtrl* List() const;
    COLORREF m_panelColour = 0;
    int m_lineStyleShown = 0;
    int m_editRowCount = 0;
    int m_editEnabled = 0;
    int m_editRow = -1;
    int m_editColumn = -1;

private:
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    void OnListClick(NMHDR* header, LRESULT* result);
    void OnEditSwitch();
    void OnExitButton();
    void AddRow(const CString& label, const CString& value);
    void FillRows(CUnit& unit, int type, CString& typeText);
    void ShowSwatch();
    // Reads the editable rows into an edited copy of the entity; false (and
    // the cell shows the entity's value again) when a row holds no valid
    // number.
    bool ReadNumberRows(CUnit& unit, int type, double values[5], int count);
    CUnit* EditedCopy(CUnit* unit);
    void WriteGeometry(CUnit& unit, int type, const double values[5]);

    CLabel m_typeLabel;
    CLabel m_swatch;
    std::unique_ptr<CEdit> m_cellEdit;

    DECLARE_MESSAGE_MAP()
};
