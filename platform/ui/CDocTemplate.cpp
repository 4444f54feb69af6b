#include "platform/ui/CDocTemplate.h"

#include "platform/ui/CCreateContext.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
}

CDocTemplate::~CDocTemplate() = default;

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == nullptr)
        return nullptr;
    CObject* object = m_pDocClass->CreateObject();
    auto* doc = dynamic_cast<CDocument*>(object);
    if (doc == nullptr) {
        delete object;
        return nullptr;
    }
    doc->m_pDocTemplate = this;
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd*)
{
    if (m_pFrameClass == nullptr)
        return nullptr;
    CObject* object = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (frame == nullptr) {
        delete object;
        return nullptr;
    }
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        delete frame;
        return nullptr;
    }
    frame->m_bAutoDelete = true;
    return frame;
}

void CDocTemplate::SetDefaultTitle(CDocument* doc)
{
    doc->SetTitle(CString(u"无标题"));
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                                       CRuntimeClass* viewClass)
    : CDocTemplate(resourceId, docClass, frameClass, viewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pFrame != nullptr && m_pFrame->m_hWnd != nullptr) {
        m_pFrame->m_bAutoDelete = false;
        delete m_pFrame;
    }
    delete m_pOnlyDoc;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char16_t* path, BOOL makeVisible)
{
    const bool created = m_pOnlyDoc == nullptr;
    if (created) {
        m_pOnlyDoc = CreateNewDocument();
        if (m_pOnlyDoc == nullptr)
            return nullptr;
    }
    CDocument* doc = m_pOnlyDoc;
    // The drawing there may be replaced only when its document agrees.
    if (!created && !doc->SaveModified())
        return nullptr;
    bool newFrame = false;
    if (m_pFrame == nullptr || m_pFrame->m_hWnd == nullptr) {
        m_pFrame = CreateNewFrame(doc, nullptr);
        if (m_pFrame == nullptr) {
            if (created) {
                delete m_pOnlyDoc;
                m_pOnlyDoc = nullptr;
            }
            return nullptr;
        }
        newFrame = true;
    }
    const bool isNew = path == nullptr || path[0] == 0;
    if (isNew) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument())
            return nullptr;
    } else {
        if (!doc->OnOpenDocument(CString(path)))
            return nullptr;
        doc->SetPathName(CString(path));
    }
    CWinApp* app = AfxGetApp();
    if (newFrame && app != nullptr && app->m_pMainWnd == nullptr)
        app->m_pMainWnd = m_pFrame;
    m_pFrame->InitialUpdateFrame(doc, makeVisible);
    return doc;
}
