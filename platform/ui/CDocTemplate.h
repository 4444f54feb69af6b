#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CCmdTarget.h"

#include <memory>

class CDocument;
class CFrameWnd;

// Makes documents with their frame and view from run-time classes.
class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    // path null or empty: a new, empty document. Null on failure.
    virtual CDocument* OpenDocumentFile(const char16_t* path, BOOL makeVisible = TRUE) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void SetDefaultTitle(CDocument* doc);
    UINT GetResourceId() const { return m_nIDResource; }

protected:
    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
};

// One document at a time, in one frame: a new or opened file reuses them.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass, CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(const char16_t* path, BOOL makeVisible = TRUE) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }
    CFrameWnd* GetFrame() const { return m_pFrame; }

private:
    CDocument* m_pOnlyDoc = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};
