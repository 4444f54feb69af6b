#include "app/ToolPalette.h"

#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "app/frame_resources.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialogBar.h"

namespace {

constexpr COLORREF kPressedFace = 0xC86464;
constexpr COLORREF kNormalFace = 0xC1B9BC;

} // namespace

BEGIN_MESSAGE_MAP(ToolPalette, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, 1030, 1288, OnButton)
END_MESSAGE_MAP()

ToolPalette::ToolPalette(UINT templateId, int number, std::vector<PaletteButton> buttons)
    : CDialog(templateId), m_number(number), m_table(std::move(buttons))
{
    for (std::size_t i = 0; i < m_table.size(); ++i)
        m_buttons.push_back(std::make_unique<CCeButtonST>());
}

ToolPalette::~ToolPalette() = default;

void ToolPalette::DoDataExchange(CDataExchange* pDX)
{
    for (std::size_t i = 0; i < m_table.size(); ++i)
        DDX_Control(pDX, m_table[i].id, *m_buttons[i]);
}

BOOL ToolPalette::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (auto& b : m_buttons) {
        b->m_colours[0] = kPressedFace;
        b->m_colours[2] = kNormalFace;
        b->m_colours[4] = kNormalFace;
        b->m_flatLook = 0;
        if (b->GetSafeHwnd() != nullptr)
            b->Invalidate();
    }
    return TRUE;
}

CCeButtonST* ToolPalette::Button(int id)
{
    for (std::size_t i = 0; i < m_table.size(); ++i)
        if (m_table[i].id == id)
            return m_buttons[i].get();
    return nullptr;
}

void ToolPalette::OnButton(UINT id)
{
    CCeButtonST* button = Button(int(id));
    if (button == nullptr)
        return;
    const PaletteButton* entry = nullptr;
    for (const PaletteButton& p : m_table)
        if (p.id == int(id))
            entry = &p;
    int command = 0;
    if (button->GetCheck()) {
        command = entry->command;
        if (entry->subFlag >= 0)
            g_cmdSubFlag = std::uint8_t(entry->subFlag);
    }
    FrameLink().SetCommand(command, true);
    if (g_toolTabBar != nullptr && g_toolTabBar->GetSafeHwnd() != nullptr)
        SyncPaletteButtons(m_number);
}

void ToolPalette::SetButtonsFromCommand()
{
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        const PaletteButton& p = m_table[i];
        const bool on = g_curCommand == p.command && (p.subFlag < 0 || g_cmdSubFlag == p.subFlag);
        m_buttons[i]->SetCheck(on ? 1 : 0);
    }
}

CZorvaleftTool1::CZorvaleftTool1()
    : ToolPalette(IDD_LEFTTOOL1, 1, {
          {1030, 1, -1}, {1032, 9, -1}, {1097, 11, -1}, {1107, 7, -1}, {1102, 8, -1}, {1108, 3, -1},
          {1109, 5, -1}, {1283, 10, -1}, {1089, 6, -1}, {1285, 23, -1}, {1286, 26, -1}})
{
}

CZorvaleftTool2::CZorvaleftTool2()
    : ToolPalette(IDD_LEFTTOOL2, 2, {
          {1030, 69, -1}, {1032, 53, -1}, {1097, 55, -1}, {1107, 56, -1}, {1102, 54, -1}, {1108, 61, -1},
          {1109, 63, -1}, {1283, 58, -1}, {1089, 57, -1}, {1285, 64, -1}, {1286, 59, -1}, {1287, 60, -1},
          {1288, 68, -1}, {1282, 80, -1}})
{
}

CZorvaleftTool3::CZorvaleftTool3()
    : ToolPalette(IDD_LEFTTOOL3, 3, {
          {1030, 15, -1}, {1032, 16, -1}, {1097, 17, 0}, {1107, 17, 1}, {1102, 12, -1}, {1108, 19, -1},
          {1109, 18, -1}, {1283, 20, -1}})
{
}

ToolPalette* PaletteByNumber(int palette)
{
    switch (palette) {
    case 1: return &g_leftTool1;
    case 2: return &g_leftTool2;
    case 3: return &g_leftTool3;
    default: return nullptr;
    }
}

bool PalettesHaveWindows()
{
    return g_leftTool1.GetSafeHwnd() != nullptr && g_leftTool2.GetSafeHwnd() != nullptr &&
           g_leftTool3.GetSafeHwnd() != nullptr;
}

void SyncPaletteButtons(int palette)
{
    if (!PalettesHaveWindows())
        return;
    if (ToolPalette* p = PaletteByNumber(palette))
        p->SetButtonsFromCommand();
}

void SyncAllPaletteButtons()
{
    if (g_toolTabBar == nullptr || g_toolTabBar->GetSafeHwnd() == nullptr || !PalettesHaveWindows())
        return;
    for (int n = 1; n <= 3; ++n)
        PaletteByNumber(n)->SetButtonsFromCommand();
}
