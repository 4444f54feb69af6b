#pragma once

#include "platform/ui/CWinApp.h"

#include <memory>

class CNamedMutex;

// The application object of zorvalink: one instance, then the main dialog
// modally; the program ends when the dialog closes.
class CZorvalinkApp : public CWinApp {
public:
    CZorvalinkApp();
    ~CZorvalinkApp() override;

    BOOL InitInstance() override;

private:
    std::unique_ptr<CNamedMutex> m_instanceMutex;
};
