#pragma once

// "颜色配置": the twenty colours the drawing, the paths and the drawing
// aids are painted with. Every change is applied at once; the XOR-drawn
// aids are stored as the complement of the colour the user sees.

#include "platform/gdi/gdi_types.h"
#include "platform/ui/CDialog.h"
#include "shared/CLabel.h"

constexpr int kSchemeColourCount = 20;

class CZorvasystemColor : public CDialog {
public:
    CZorvasystemColor();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // 保存: stores the shown colours and marks the settings for saving;
    // the dialog stays open.
    void OnOK() override;
    void OnRestoreDefaults();
    void OnChange();

    // The colour of item i as the user sees it.
    COLORREF ShownColour(int item) const { return m_colours[item]; }

private:
    void LoadColours();
    void StoreColours() const;
    void PaintSwatches();
    void ApplyToView();
    int SelectedItem() const;

    COLORREF m_colours[kSchemeColourCount] = {};
    CLabel m_swatches[kSchemeColourCount];

    DECLARE_MESSAGE_MAP()
};

// The stored value of item i as shown, and back (the complement for the
// XOR-drawn aids).
COLORREF SchemeColourShown(int item);
void SetSchemeColourShown(int item, COLORREF shown);
