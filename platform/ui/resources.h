#pragma once
// Resources declared in code: strings, accelerator tables and toolbars,
// each registered under its resource id (menus: CMenu.h, dialog
// templates: dialog_template.h).

#include "platform/core/CString.h"
#include "platform/ui/wintypes.h"

#include <vector>

void RegisterResourceString(UINT id, const CString& text);
// The string, or empty when none is registered.
CString LoadResourceString(UINT id);

// Accelerator entries; key is a virtual-key code.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;
struct ACCEL {
    BYTE fVirt = FVIRTKEY;
    WORD key = 0;
    WORD cmd = 0;
};
void RegisterAcceleratorResource(UINT id, std::vector<ACCEL> table);
const std::vector<ACCEL>* FindAcceleratorResource(UINT id);

// A toolbar: button command ids in order, 0 for a separator. A button's
// face is its picture when icons names one (an icon resource id per button,
// 0 for none; they stand in for the toolbar's bitmap strip), else its text
// (the part after "\n" of its resource string, when no text is given here).
struct ToolBarResource {
    std::vector<UINT> buttons;
    std::vector<CString> texts; // optional, per button
    int buttonWidth = 16;
    int buttonHeight = 15;
    std::vector<UINT> icons = {};   // optional, per button
};
void RegisterToolBarResource(UINT id, ToolBarResource toolbar);
const ToolBarResource* FindToolBarResource(UINT id);
