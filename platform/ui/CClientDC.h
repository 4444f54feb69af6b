#pragma once

#include "platform/gdi/CDC.h"
#include "platform/ui/wintypes.h"

#include <memory>

class CFrontImage;
class CWnd;

// A DC over a window's front image. Usable from any thread: it holds the
// image's lock for its life and, when released, asks the GUI thread for one
// repaint. A window without a front image (or without a widget) gives a DC
// that draws nothing.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;
    CWnd* m_pWnd;

private:
    std::shared_ptr<CFrontImage> m_front;
};
