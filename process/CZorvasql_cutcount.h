#pragma once

// The per-cut dialog "参数": edits one cut of the multi-pass list
// (passCuts[g_SelectedPassRow]) on the page of the coding version.

#include <memory>

#include "platform/ui/CDialog.h"
#include "wirepath/CutParams.h"

class CZorvaSqlPage;

class CZorvasql_cutcount : public CDialog {
public:
    CZorvasql_cutcount();
    ~CZorvasql_cutcount() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

    CZorvaSqlPage* Page() const { return m_page.get(); }
    CutParams m_cut{};                  // the working copy

private:
    void FitToPage();

    std::unique_ptr<CZorvaSqlPage> m_page;
};
