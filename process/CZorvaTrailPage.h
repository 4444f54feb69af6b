#pragma once

// The cut-mode pages of the two path dialogs (child dialogs in the dialog's
// tab 1021): 常规, 锥度, 异形件, 变锥 and 斜顶. Each shows the settings of its
// cut mode; the dialog fills and reads them (cut_mode_pages.h). The page
// classes differ in template and in the handlers of their own controls.

#include <cstdint>

#include "platform/core/CString.h"
#include "platform/ui/CDialog.h"

class CZorvaTrailPage : public CDialog {
public:
    explicit CZorvaTrailPage(unsigned templateId);
    bool CreateIn(CWnd* tab);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};

class CZorvaTrailTab1 : public CZorvaTrailPage {
public:
    CZorvaTrailTab1();
};

// Taper: the angle edit takes only number text within (-90, 90); anything
// else puts the last accepted text back. Nothing is stored before OK.
class CZorvaTrailTab2 : public CZorvaTrailPage {
public:
    CZorvaTrailTab2();
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

    // Shows the angle; the edit's handler does not act on this fill.
    void ShowAngle(double degrees);

private:
    void OnAngleChange();

    std::uint8_t m_guard = 0;           // the handler's own text change
    CString m_accepted;                 // the last text the handler accepted

    DECLARE_MESSAGE_MAP()
};

// Two profiles: the "no merge" and "incline" boxes exclude each other.
class CZorvaTrailTab3 : public CZorvaTrailPage {
public:
    CZorvaTrailTab3();

private:
    void OnNoMergeClicked();
    void OnInclineClicked();

    DECLARE_MESSAGE_MAP()
};

class CZorvaTrailTab4 : public CZorvaTrailPage {
public:
    CZorvaTrailTab4();
};

// Inclined top: the unit labels follow "改为距离参数".
class CZorvaTrailTab5 : public CZorvaTrailPage {
public:
    CZorvaTrailTab5();
    void ShowUnits();

private:
    DECLARE_MESSAGE_MAP()
};

// Control ids of the pages.
namespace trailpage {
constexpr int IDC_TAPER_LABEL = 1002, IDC_TAPER_UNIT = 1010, IDC_TAPER_ANGLE = 1023;
constexpr int IDC_TAPER_FIXED_RADIUS = 1030, IDC_TAPER_INVERTED = 1032, IDC_TAPER_INCLINE = 1031;
constexpr int IDC_SYNC_BY_LENGTH = 1028, IDC_SYNC_BY_CENTRE = 1029;
constexpr int IDC_PROFILE_NO_MERGE = 1030, IDC_PROFILE_INCLINE = 1032;
constexpr int IDC_VAR_TAPER_INCLINE = 1030;
constexpr int IDC_INCLINE_X = 1009, IDC_INCLINE_Y = 1015, IDC_INCLINE_UNIT_X = 1240, IDC_INCLINE_UNIT_Y = 1241;
constexpr int IDC_INCLINE_SWAP = 1030, IDC_INCLINE_ENTRY_FIRST = 1032;
constexpr int IDC_INCLINE_DISTANCES = 1097, IDC_INCLINE_PAUSE = 1107;
// Taper angles at or beyond a right angle have no upper contour.
constexpr double kTaperLimit = 90.0;
} // namespace trailpage
