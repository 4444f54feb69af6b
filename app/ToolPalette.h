#pragma once

// The three tool palettes of the left tab panel: a column of owner-drawn
// check buttons each, one per command. A click starts the button's command
// or ends it when the button was pressed; the buttons always show the
// running command, wherever it was started.

#include <cstdint>
#include <memory>
#include <vector>

#include "app/CCeButtonST.h"
#include "platform/ui/CDialog.h"

struct PaletteButton {
    int id;
    int command;
    int subFlag;   // -1: any variant
};

class ToolPalette : public CDialog {
public:
    ToolPalette(UINT templateId, int number, std::vector<PaletteButton> buttons);
    ~ToolPalette() override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnButton(UINT id);

    // Checks each button exactly when it matches the running command.
    void SetButtonsFromCommand();
    CCeButtonST* Button(int id);
    const std::vector<PaletteButton>& Buttons() const { return m_table; }
    int Number() const { return m_number; }

protected:
    int m_number;
    std::vector<PaletteButton> m_table;
    std::vector<std::unique_ptr<CCeButtonST>> m_buttons;

    DECLARE_MESSAGE_MAP()
};

class CZorvaleftTool1 : public ToolPalette {
public:
    CZorvaleftTool1();
};
class CZorvaleftTool2 : public ToolPalette {
public:
    CZorvaleftTool2();
};
class CZorvaleftTool3 : public ToolPalette {
public:
    CZorvaleftTool3();
};

// Palette 1, 2 or 3 from the running command; nothing unless all three
// palettes have windows.
void SyncPaletteButtons(int palette);
// Every palette from the running command (the end of every command start),
// when the tab panel and the three palettes have windows.
void SyncAllPaletteButtons();
ToolPalette* PaletteByNumber(int palette);
bool PalettesHaveWindows();
