#pragma once

// The array panel (阵列 (F12)): a floating, modeless panel that the main
// frame creates hidden and command 62 shows. A generation copies the
// selected entities to the places of a rectangular grid or of a circle as
// temporary entities; closing the panel accepts the last generation (the
// copies stay, the sources are deleted, one undo step), 撤消(&R) takes it
// back.

#include "platform/ui/CDialog.h"
#include "platform/ui/message_box.h"

class CZorvaarray_tab_1 : public CDialog {
public:
    CZorvaarray_tab_1();
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override {}
};

class CZorvaarray_tab_2 : public CDialog {
public:
    CZorvaarray_tab_2();
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override {}
};

class CZorvaarray : public CDialog {
public:
    CZorvaarray();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Enter in a field does not generate; 取消 and Esc close the panel.
    void OnOK() override {}
    void OnCancel() override { ClosePanel(); }

    void SelectPage(int index);
    void OnSelchangeTab(NMHDR* header, LRESULT* result);
    // Stores the fields into the settings; a field whose text is no number
    // keeps its setting.
    void ReadPanel();
    void OnGenerateButton();
    void Generate();
    void UndoLast();
    void ClosePanel();

    CZorvaarray_tab_1 m_rectPage;
    CZorvaarray_tab_2 m_polarPage;

private:
    void FillControls();
    void EnableButtons(bool enable);
    // The fields of the shown page hold numbers; else one is refused
    // (number_fields.h) and nothing changes.
    bool FieldsAreNumbers();

    DECLARE_MESSAGE_MAP()
};
