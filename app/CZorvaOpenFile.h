#pragma once

// "打开文件  (F1)": a drawing, DXF or ".dat" file to open. OK sets
// g_currentFileName, g_currentFilePath and g_fileDialogType (0 ".wcx",
// 1 DXF, 2 ".dat").

#include "app/FileBrowserDialog.h"

class CZorvaOpenFile : public FileBrowserDialog {
public:
    CZorvaOpenFile();

    BOOL OnInitDialog() override;
    void OnOK() override;
    // The checks of OK; true when the dialog may close.
    bool ConfirmOpen();

protected:
    bool OnKeyRelease(UINT key, const MSG& msg) override;
    void DeleteSelectedFile() override;
    void OnTypeChosen() { OnTypeComboChanged(); }

    DECLARE_MESSAGE_MAP()
};
