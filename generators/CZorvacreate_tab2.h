#pragma once

#include <cstdint>

#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

// The rack page (" 齿条 ") of the gear dialog.
class CZorvacreate_tab2 : public CDialog {
public:
    CZorvacreate_tab2();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override {}

    void OnMode1();
    void OnMode2();
    void OnModuleChange();
    void OnParamChange();
    void OnSizeEdit();
    void OnTipFillet();
    void OnRootFillet();

    std::uint8_t m_ready = 0;
    std::uint8_t m_typingSizes = 0;

private:
    void EnableSizeFields(bool typed);
    void Recalculate();

    DECLARE_MESSAGE_MAP()
};
