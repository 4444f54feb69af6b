#include "generators/generators_install.h"

#include "tests/generators/dialog_fixture.h"
#include "view/ViewState.h"

namespace {

class TypedDialogCommandsTest : public DialogTest {};

TEST_F(TypedDialogCommandsTest, EachOpensItsDialogAfterTheKeyWithTheModalMark)
{
    const struct {
        const char16_t* typed;
        unsigned templateId;
        int modalId;
    } kCases[] = {
        {u"ww", 154, CZorvaDoc::kDlgCreateGear},   {u"tj", 178, CZorvaDoc::kDlgCalculator},
        {u"ma", 163, CZorvaDoc::kDlgClearCorners}, {u"mc", 164, CZorvaDoc::kDlgMachineParams},
        {u"az", 182, CZorvaDoc::kDlgFormulaCurve},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(CString(c.typed).ToUtf8());
        ModalDialogScript modal;
        modal.Then([&c](CDialog& d) {
            EXPECT_EQ(d.GetTemplateId(), c.templateId);
            EXPECT_EQ(g_modalDialogId, c.modalId);
            return IDCANCEL;
        });
        drv->Type(CString(c.typed));
        drv->Settle();
        EXPECT_EQ(modal.Shown(), 1);
        EXPECT_EQ(drv->view->m_pendingAction, int(kActionNone));
        EXPECT_EQ(g_modalDialogId, 0);
    }
}

TEST_F(TypedDialogCommandsTest, CostEstimateFromItsMenuCommand)
{
    ModalDialogScript modal;
    modal.Then([](CDialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 246u);
        return IDCANCEL;
    });
    drv->doc->OnCostEstimate();
    EXPECT_EQ(modal.Shown(), 1);
}

} // namespace
