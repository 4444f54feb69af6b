#pragma once

// "保存为  (F2)": the drawing (".wcx") or path export (".dcx") file to write.
// OK sets g_currentFileName, g_currentFilePath and g_fileDialogType; the
// writer replaces an existing file only once the new one is complete.

#include "app/FileBrowserDialog.h"

class CZorvaFileSaveAs : public FileBrowserDialog {
public:
    CZorvaFileSaveAs();

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

    // The checks of OK; true when the dialog may close.
    bool ConfirmSave();
    // Lower case, cut at the first ".", the type's word and extension.
    static CString AdjustNameForType(const CString& name, int type);

protected:
    bool OnKeyRelease(UINT key, const MSG& msg) override;
    void AfterTypeChanged() override;
    void DeleteSelectedFile() override;
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    void OnTypeChange() { OnTypeComboChanged(); }

private:
    CString DefaultName() const;

    DECLARE_MESSAGE_MAP()
};
