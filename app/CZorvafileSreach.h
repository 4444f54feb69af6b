#pragma once

// "搜索文件": the name fragment the next listing of a file dialog filters by.

#include "platform/ui/CDialog.h"

class CZorvafileSreach : public CDialog {
public:
    CZorvafileSreach();
    // OK keeps the trimmed text in g_searchText.
    void OnOK() override;
};
