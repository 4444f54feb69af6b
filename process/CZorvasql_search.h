#pragma once

// "查询": what the table dialog's next list filling shows; a text in the
// material and optional ranges of thickness, efficiency and finish.

#include "platform/ui/CDialog.h"

class CZorvasql_search : public CDialog {
public:
    CZorvasql_search();

    void OnOK() override;
};
