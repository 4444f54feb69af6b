#pragma once

// The single-cut parameter page of a coding version: a child dialog that
// shows one CutParams with the fields of that version (cut_page_fields.h).
// The single-pass dialog holds the four mid-wire pages for its one cut, the
// per-cut dialog all five. The five page classes differ only in version.

#include <cstdint>

#include "platform/ui/CDialog.h"
#include "process/cut_page_fields.h"

class CZorvaSqlPage : public CDialog {
public:
    explicit CZorvaSqlPage(std::uint8_t codingMode);

    // Creates the page inside host (a tab control), hidden.
    bool CreateIn(CWnd* host);
    const CutPageLayout& Layout() const { return m_layout; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;

private:
    void OnPulseIntervalChange();

    const CutPageLayout& m_layout;
    std::uint8_t m_guard = 0;           // the interval handler's own change

    DECLARE_MESSAGE_MAP()
};

class CZorva_SqlTab1 : public CZorvaSqlPage {
public:
    CZorva_SqlTab1() : CZorvaSqlPage(10) {}
};
class CZorva_SqlTab2 : public CZorvaSqlPage {
public:
    CZorva_SqlTab2() : CZorvaSqlPage(11) {}
};
class CZorva_SqlTab3 : public CZorvaSqlPage {
public:
    CZorva_SqlTab3() : CZorvaSqlPage(0) {}
};
class CZorva_SqlTab4 : public CZorvaSqlPage {
public:
    CZorva_SqlTab4() : CZorvaSqlPage(1) {}
};
class CZorva_SqlTab5 : public CZorvaSqlPage {
public:
    CZorva_SqlTab5() : CZorvaSqlPage(2) {}
};
