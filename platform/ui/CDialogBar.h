#pragma once

#include "platform/ui/CControlBar.h"

#include <memory>
#include <vector>

// A panel of controls built from a dialog template, docked on a side of
// the frame. Its controls' notifications go to the frame (and on to the
// view), and GetDlgItem finds them by id.
class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
public:
    CDialogBar();
    ~CDialogBar() override;

    BOOL Create(CWnd* parent, UINT templateId, UINT style, UINT nID);
    CSize m_sizeDefault;

private:
    std::vector<std::unique_ptr<CWnd>> m_controls;
};
