#pragma once

// The multi-pass path dialog "多次加工轨迹生成  (F4)": the common path
// settings and cut-mode pages, the die support and pause options, the
// number of cuts and the per-cut list (passCuts) with the columns of the
// coding version. 确定(&S) stores everything and sets multiPass (the caller
// then starts path generation). The pass count, the cuts and a taken
// process record change the list at once and mark the settings changed.

#include <cstdint>

#include "platform/gdi/CBitmap.h"
#include "platform/ui/CDialog.h"
#include "process/cut_mode_pages.h"

struct NMHDR;

class CZorvaTrail_many : public CDialog {
public:
    CZorvaTrail_many();
    ~CZorvaTrail_many() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

    void OnCutTypeChange();
    void OnModeTabChange(NMHDR* header, LRESULT* result);
    void OnPassCountChange();
    void OnToDatabase();
    void OnOffsetRadio();
    void OnListCustomDraw(NMHDR* header, LRESULT* result);
    void OnListClick(NMHDR* header, LRESULT* result);
    void OnListDoubleClick(NMHDR* header, LRESULT* result);

    // Writes the controls into the settings; a field whose text is no
    // number keeps its setting.
    void StoreSettings();
    // Rebuilds the per-cut list with the columns of the coding version.
    void FillPassList(int count, const CutParams* cuts);

    CutModePages m_pages;

private:
    void ShowSettings();
    void LoadPassCuts();
    void LayOut();
    void CopyCutsToVersionTable();
    void MarkLiveChange();
    // The number fields hold numbers; else one is refused (number_fields.h).
    bool FieldsAreNumbers();
    int HitRow(NMHDR* header) const;
    void SetRowValues(int highlighted);

    CBitmap m_picture;
    SettingsSnapshot m_before;          // as the dialog found them
    SettingsSnapshot m_opened;          // after the dialog's own corrections
    bool m_liveChange = false;          // a change that stays after Cancel

    DECLARE_MESSAGE_MAP()
};
