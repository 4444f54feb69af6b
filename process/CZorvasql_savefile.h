#pragma once

// "保存到U盘": writes the process table as a ".qcx" list.

#include "platform/ui/CDialog.h"

class CZorvasql_savefile : public CDialog {
public:
    CZorvasql_savefile();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnChooseFolder();

    DECLARE_MESSAGE_MAP()
};
