#include "generators/CZorvacalculator.h"

#include "tests/generators/dialog_fixture.h"

namespace {

class CalculatorDialogTest : public DialogTest {
protected:
    void Open(std::function<long long(CZorvacalculator&)> script)
    {
        ModalDialogScript modal;
        modal.Then([&](CDialog& d) { return script(static_cast<CZorvacalculator&>(d)); });
        drv->doc->OnCalculator();
    }
};

TEST_F(CalculatorDialogTest, ButtonsAndKeyboard)
{
    Open([](CZorvacalculator& d) {
        for (int id : {1079, 1204, 1179, 1208})      // 2 + 3 =
            d.PressButton(id);
        EXPECT_EQ(Text(&d, 1009), CString(u"5"));
        d.PressButton(1208);
        EXPECT_EQ(Text(&d, 1009), CString(u"8"));
        for (int id : {1185, 1216})                  // 9 sqrt
            d.PressButton(id);
        EXPECT_EQ(Text(&d, 1009), CString(u"3"));
        for (int id : {1183, 1207, 1186, 1208})      // 7 / 0 =
            d.PressButton(id);
        EXPECT_EQ(Text(&d, 1009), CString(u"除数不能为零"));
        KeepSnapshot(&d, u"calculator_dialog.png");
        d.PressButton(1210);                         // CE
        // Typing with a button focused: 1..5 keeps one point.
        d.GetDlgItem(1204)->SetFocus();
        harness::TypeText(d.GetDlgItem(1204), CString(u"1..5x"));
        EXPECT_EQ(Text(&d, 1009), CString(u"1.5"));
        return IDCANCEL;
    });
}

} // namespace
