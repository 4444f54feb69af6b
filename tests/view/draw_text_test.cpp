#include "view_fixture.h"

#include "app/FrameState.h"
#include "geometry/CText.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/dialog_template.h"

namespace {

constexpr UINT kPanelTemplate = 9169;   // a stand-in of the text panel

} // namespace

TEST_F(ViewTest, TextClickOpensThePanelAndItsApplyPlacesTheText)
{
    DlgTemplate t;
    t.id = kPanelTemplate;
    t.style = WS_POPUP;
    t.cx = 200;
    t.cy = 80;
    t.items = {dlg::EditText(1012, 4, 4, 40, 12), dlg::EditText(1009, 50, 4, 40, 12),
               dlg::EditText(1015, 4, 20, 180, 12)};
    RegisterDialogTemplate(t);
    CDialog panel;
    ASSERT_TRUE(panel.Create(kPanelTemplate, nullptr));
    g_pTextPanel = &panel;
    AddLine(0, 0, 10, 0);
    drv->Start(kCmdText);
    drv->ClickAt({2, 3});
    EXPECT_TRUE(panel.IsWindowVisible());
    drv->ClickAt({5, 0});               // on a line: nothing happens meanwhile
    EXPECT_EQ(drv->Command(), kCmdText);
    EXPECT_TRUE(Live(12).empty());
    panel.SetDlgItemText(1012, CString(u"14"));
    panel.SetDlgItemText(1009, CString(u"20.7"));
    panel.SetDlgItemText(1015, CString(u"齿轮"));
    drv->view->ApplyTextAnnotation();
    drv->Settle();
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(drv->Command(), 0);
    const auto texts = Live(12);
    ASSERT_EQ(texts.size(), 1u);
    const TextRecord& r = texts[0]->geometry.text;
    ExpectPoint(r.position, 2, 3);
    EXPECT_EQ(r.fontSize, 14);
    EXPECT_EQ(r.boxSize, 20);
    EXPECT_EQ(r.text, CString(u"齿轮"));
    g_pTextPanel = nullptr;
    panel.DestroyWindow();
}
