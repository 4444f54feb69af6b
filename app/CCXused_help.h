#pragma once

// "使用帮助": the topics of the help list file "zorvahelp2.txt" of the data
// folder, the text of the chosen one, and "更新(&N)", which copies newer
// help files into the data folder.

#include <memory>

#include "platform/gdi/CFont.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CImageList.h"

class CCXused_help : public CDialog {
public:
    CCXused_help();
    ~CCXused_help() override;

    BOOL OnInitDialog() override;
    void FillHelpIndex();
    // Shows the text of the list's first selected topic.
    void ShowTopic(int row);
    void UpdateHelpFiles();

private:
    void OnListClick(NMHDR* header, LRESULT* result);

    std::unique_ptr<CImageList> m_images;
    CFont m_textFont;

    DECLARE_MESSAGE_MAP()
};

// Reads the help list file once per run into g_helpTitles and g_helpTexts.
void LoadHelpList();
