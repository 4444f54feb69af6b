#pragma once

// The single-pass path dialog "一次加工轨迹生成  (F3)": the path settings of
// the machining block, one page per cut mode and the single-cut page of the
// coding version. 创建(&C) stores them (and the caller then starts path
// generation); Cancel leaves every setting as it was.

#include <memory>

#include "platform/ui/CDialog.h"
#include "process/cut_mode_pages.h"

class CZorvaSqlPage;
struct NMHDR;

class CZorvaTrail_create : public CDialog {
public:
    CZorvaTrail_create();
    ~CZorvaTrail_create() override;

    BOOL OnInitDialog() override;
    void OnOK() override { OnCreate(); }
    void OnCancel() override;
    void OnDestroy() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

    void OnCreate();
    void OnCutTypeChange();
    void OnModeTabChange(NMHDR* header, LRESULT* result);
    void OnOffsetRadio();

    CutModePages m_pages;
    CZorvaSqlPage* ProcessPage() const { return m_processPage.get(); }

private:
    void ShowSettings();
    void CreateProcessPage();
    void LayOut();
    void LoadSingleCut();
    void StoreSingleCut();
    // The number fields hold numbers; else one is refused (number_fields.h).
    bool FieldsAreNumbers();

    std::unique_ptr<CZorvaSqlPage> m_processPage;
    SettingsSnapshot m_before;          // as the dialog found them
    SettingsSnapshot m_opened;          // after the dialog's own corrections

    DECLARE_MESSAGE_MAP()
};

// The page of a mid-wire coding version for a path dialog; null for fast
// wire, which has no single-pass parameters.
std::unique_ptr<CZorvaSqlPage> MakeSinglePassPage(std::uint8_t codingMode);
