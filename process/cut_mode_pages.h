#pragma once

// What the single-pass and the multi-pass dialog share: the five cut-mode
// pages in tab 1021 with their settings, the cut-type change, and the byte
// snapshot of the settings taken when the dialog opens.

#include <cstdint>
#include <vector>

#include "app/MachiningSettings.h"
#include "app/settings_blocks.h"
#include "process/CZorvaTrailPage.h"
#include "process/number_fields.h"
#include "wirepath/CutParams.h"

class CWnd;

class CutModePages {
public:
    // Creates the five pages inside tab and shows the normal page. The tab
    // gets the names of the first tabItems pages ("普通切割", "锥度切割",
    // "异形切割", "变锥切割", "斜顶切割"); pages past them have no item.
    void Create(CWnd* tab, int tabItems);
    // Shows the page of cut mode index (0..4) and selects its tab item
    // when it has one; any other index changes nothing.
    void ShowMode(int index);
    // Fills the pages from the settings; the taper edit's fill is no change.
    void Fill(const MachiningSettings& m);
    // The number fields of the pages, for the dialog's check at OK.
    std::vector<numfield::Field> NumberFields();
    // Writes the page settings (taper angle included) into m; an angle
    // whose text is no number keeps the stored value.
    void Store(MachiningSettings& m) const;

    CWnd* m_tab = nullptr;
    CZorvaTrailTab1 normal;
    CZorvaTrailTab2 taper;
    CZorvaTrailTab3 profiles;
    CZorvaTrailTab4 varTaper;
    CZorvaTrailTab5 incline;
};

// The cut type of the combo: g_CutTypeIndex and g_CutMode take index, and
// batchMode too when index is 0 or 1; then the page of that mode is shown.
void CutTypeChanged(CutModePages& pages, int index);

// Copies of everything a path dialog's OK may change.
struct SettingsSnapshot {
    MachiningSettings block{};
    CutParams cut{};
    ViewBlock view{};
    std::uint8_t cutMode = 0;

    void Take();
    // The block, the single-pass cut or the view block differ from the copy.
    bool Changed() const;
    // Puts everything back (a Cancel that changed nothing else).
    void RestoreAll() const;
    // Puts back only the cut type (g_CutTypeIndex, g_CutMode, batchMode).
    void RestoreCutType() const;
};

// Combo 1027 of both dialogs.
void FillCutTypeCombo(CWnd* dialog, int id);
// A taper of a right angle or more has no upper contour. Such a value (only
// a stored one reaches the edit: typing refuses it) is refused at OK: the
// taper page is shown with a message, and false returned.
bool TaperAcceptable(CWnd* dialog, int comboId, CutModePages& pages);
