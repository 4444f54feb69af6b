#pragma once

#include "platform/ui/CDialog.h"

// Asks for a new folder's name; the caption comes from g_NewFolderCaption,
// the accepted name goes to g_NewFolderName.
class CCXCreateDir : public CDialog {
public:
    explicit CCXCreateDir(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnNameChange();

    DECLARE_MESSAGE_MAP()
};
