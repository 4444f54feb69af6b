#pragma once

struct CRuntimeClass;
class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

// What a frame needs to create its view: passed through frame creation.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};
