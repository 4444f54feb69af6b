#pragma once

// The per-shape compensation table "轨迹生成补偿": modeless, created hidden
// by the main frame. It lists the closed shapes a batch run would cut and
// gives single shapes, or the circles above or below a radius, their own
// compensation (CUnit::compensation, kept while the drawing is open: the
// entity record of the file has no field for it; 0 = the batch's default). It takes the batch dialog's place while it shows.
//
// Shapes are kept by unit id, not by list index: a shape deleted or
// replaced since the listing shows "-" and takes no value.

#include <cstdint>
#include <vector>

#include "platform/ui/CDialog.h"

class CUnit;
struct NMHDR;

class CZorvatrailmOffest : public CDialog {
public:
    CZorvatrailmOffest();

    BOOL OnInitDialog() override;
    void OnOK() override { OnRefresh(); }
    void OnCancel() override { OnClose(); }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

    void ShowCompensationTable();
    void OnRefresh();
    void OnModify();
    void OnClearAll();
    void OnFill();
    void OnClose();
    void OnRowClick(NMHDR* header, LRESULT* result);
    void OnListCustomDraw(NMHDR* header, LRESULT* result);
    void FillShapeList();

    // Working copies of the four circle settings; stored at close.
    double radiusAtLeast = 0.0;
    double radiusBelow = 0.0;
    double valueLarge = 0.0;
    double valueSmall = 0.0;
    // The unit of each listed shape, figure k + 1 at k.
    std::vector<std::uint64_t> m_shapeIds;

private:
    void ListShapes();
    int SelectedRow() const;
    void ShowRow(int row);
    void Redraw();

    DECLARE_MESSAGE_MAP()
};

// The frame's compensation table, or null.
CZorvatrailmOffest* CompensationTable();
// The live unit of the drawing list with that id, or null.
CUnit* LiveUnitById(std::uint64_t id);
