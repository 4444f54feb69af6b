#pragma once

// The taper machine-geometry calculators (参数计算): four pages that work
// out corrected heights H1 and H2 from the set values and a measured test
// cut, and keep their inputs and results in the settings (CalcInputs).

#include <cstdint>

#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

// One calculator page; page is 1..4.
class CZorvaCalcPage : public CDialog {
public:
    explicit CZorvaCalcPage(int page);

    BOOL PreTranslateMessage(MSG* msg) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;
    void OnOK() override {}
    void OnCancel() override {}

    void OnCalculate();
    void OnLowerDiameterChange();
    // Writes the page's fields from the settings.
    void Fill();

    int m_page;
    std::uint8_t m_filling = 0;     // fields being written: no recalculation

private:
    void CalculatePage1();
    void CalculatePage2();
    void CalculatePage3();
    void CalculatePage4();
    void ShowUpperDiameter();

    DECLARE_MESSAGE_MAP()
};

class CZorva_Tab_calculation1 : public CZorvaCalcPage {
public:
    CZorva_Tab_calculation1() : CZorvaCalcPage(1) {}
};
class CZorva_Tab_calculation2 : public CZorvaCalcPage {
public:
    CZorva_Tab_calculation2() : CZorvaCalcPage(2) {}
};
class CZorva_Tab_calculation3 : public CZorvaCalcPage {
public:
    CZorva_Tab_calculation3() : CZorvaCalcPage(3) {}
};
class CZorva_Tab_calculation4 : public CZorvaCalcPage {
public:
    CZorva_Tab_calculation4() : CZorvaCalcPage(4) {}
};

class CZorvacalculation : public CDialog {
public:
    CZorvacalculation();
    ~CZorvacalculation() override;

    BOOL OnInitDialog() override;
    void SelectPage(int index);
    void OnSelchangeTab(NMHDR* header, LRESULT* result);

    CZorva_Tab_calculation1 m_page1;
    CZorva_Tab_calculation2 m_page2;
    CZorva_Tab_calculation3 m_page3;
    CZorva_Tab_calculation4 m_page4;

private:
    CZorvaCalcPage* Page(int index);

    DECLARE_MESSAGE_MAP()
};
