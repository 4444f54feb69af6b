#pragma once

#include "platform/ui/CWnd.h"

class CDC;
class CDocument;
class CFrameWnd;

// A view of a document: the client area of its frame. It paints through
// OnDraw into the window's front image; commands it does not handle go on
// to its document.
class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnDraw(CDC* dc) = 0;
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnPrepareDC(CDC*, void* = nullptr) {}

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    void OnPaint() override;
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnDestroy() override;

    CDocument* m_pDocument = nullptr;
};
