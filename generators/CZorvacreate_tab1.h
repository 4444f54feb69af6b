#pragma once

#include <cstdint>

#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

// The gear page (" 标准齿轮 ") of the gear dialog: external and internal
// gears. Its change handlers recalculate the size fields while m_ready is
// up; the generator lowers it while it writes them.
class CZorvacreate_tab1 : public CDialog {
public:
    CZorvacreate_tab1();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // The page's own OK and cancel (Enter, Esc inside it) do nothing.
    void OnOK() override {}
    void OnCancel() override {}

    void OnByCount();
    void OnTipFillet();
    void OnRootFillet();
    void OnModuleChange();
    void OnParamChange();
    void OnMode1();
    void OnMode2();
    void OnSizeEdit();

    std::uint8_t m_ready = 0;
    std::uint8_t m_typingSizes = 0;

private:
    void EnableSizeFields(bool typed);

    DECLARE_MESSAGE_MAP()
};
