#pragma once

// "导入工艺表": lists the ".qcx" files of a folder and replaces the
// process table with the chosen one.

#include <memory>

#include "platform/core/CString.h"
#include "platform/ui/CDialog.h"

class CImageList;

class CZorvasql_inputFile : public CDialog {
public:
    CZorvasql_inputFile();
    ~CZorvasql_inputFile() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnChoosePath();
    void ListQcxFiles(const CString& folder);
    // The table was replaced by a list.
    bool Imported() const { return m_imported; }

private:
    std::unique_ptr<CImageList> m_images;
    bool m_imported = false;

    DECLARE_MESSAGE_MAP()
};
