#pragma once

#include <memory>

#include "platform/ui/CDialog.h"
#include "platform/ui/CImageList.h"

// "导出加工任务  (F5)": how many paths the export will write, and OK or
// Cancel. Releasing F5 after a key press cancels it, as F5 opened it.
class CZorvasendwork : public CDialog {
public:
    enum { IDD = 152 };
    explicit CZorvasendwork(int pathCount);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    int m_pathCount;
    std::unique_ptr<CImageList> m_icon;
};
