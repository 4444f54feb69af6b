#pragma once

#include "platform/ui/CDialog.h"

// The About box: program name and version, and an OK button.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
