// Text annotation (command 12): a click sets the insertion point and opens
// the text panel; the panel's apply places the text and restarts at rest.

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "geometry/CText.h"
#include "geometry/GeometryState.h"
#include "platform/core/numbers.h"
#include "platform/ui/CDialog.h"
#include "view/CZorvaView.h"

namespace {

constexpr int kIdTextFontSize = 1012;   // controls of the text panel
constexpr int kIdTextBoxSize = 1009;
constexpr int kIdTextContent = 1015;

int PanelNumber(CDialog* panel, int id)
{
    CString text;
    panel->GetDlgItemText(id, text);
    return static_cast<int>(StrToDouble(std::u16string_view(text.GetString())));
}

} // namespace

void CZorvaView::StepText(CDC*)
{
    if (g_cmdPointCount != 1)
        return;                 // later clicks wait for the panel
    ++g_UnitIdCounter;
    auto* text = new CText();
    text->geometry.text.position = text->workGeometry.text.position = m_inputPoint;
    NewFloating(text);
    ++m_subStep;
    if (g_pTextPanel != nullptr) {
        g_pTextPanel->SetDlgItemText(kIdTextContent, CString());
        g_pTextPanel->ShowWindow(SW_SHOW);
        if (CWnd* edit = g_pTextPanel->GetDlgItem(kIdTextContent))
            edit->SetFocus();
    }
}

void CZorvaView::ApplyTextAnnotation()
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (m_pFloatUnit != nullptr && m_pFloatUnit->GetType() == 12 && doc != nullptr && g_pTextPanel != nullptr) {
        TextRecord& t = m_pFloatUnit->workGeometry.text;
        t.fontSize = PanelNumber(g_pTextPanel, kIdTextFontSize);
        t.boxSize = PanelNumber(g_pTextPanel, kIdTextBoxSize);
        g_pTextPanel->GetDlgItemText(kIdTextContent, t.text);
        m_pFloatUnit->CommitTransform();
        doc->AppendUnit(m_pFloatUnit);
        PurgeDegenerateEntities(0);
    }
    if (g_pTextPanel != nullptr)
        g_pTextPanel->ShowWindow(SW_HIDE);
    g_cmdPointCount = 0;
    SetCommand(0);
}
