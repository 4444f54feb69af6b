#include "platform/ui/CDocument.h"

#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"
#include "platform/core/CMemFile.h"
#include "platform/core/exceptions.h"
#include "platform/core/files.h"
#include "platform/ui/CDocTemplate.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CView.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/file_prompt.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* v : m_views)
        v->m_pDocument = nullptr;
}

void CDocument::SetTitle(const CString& title)
{
    m_strTitle = title;
    for (CView* v : m_views) {
        if (CFrameWnd* f = v->GetParentFrame())
            f->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(const CString& path, BOOL)
{
    m_strPathName = path;
    CString title = path;
    const int slash = std::max(title.ReverseFind(u'/'), title.ReverseFind(u'\\'));
    if (slash >= 0)
        title = title.Mid(slash + 1);
    SetTitle(title);
}

void CDocument::AddView(CView* view)
{
    if (view == nullptr || std::find(m_views.begin(), m_views.end(), view) != m_views.end())
        return;
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    view->m_pDocument = nullptr;
}

CView* CDocument::GetNextView(ViewPos& pos) const
{
    if (pos == 0 || pos > m_views.size()) {
        pos = 0;
        return nullptr;
    }
    CView* v = m_views[pos - 1];
    pos = pos < m_views.size() ? pos + 1 : 0;
    return v;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (CView* v : std::vector<CView*>(m_views)) {
        if (v != sender)
            v->OnUpdate(sender, hint, hintObject);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const CString& path)
{
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error))
        return FALSE;
    DeleteContents();
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        DeleteContents();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

// The archive goes to memory first, so a failure leaves the old file whole.
BOOL CDocument::OnSaveDocument(const CString& path)
{
    CMemFile memory;
    try {
        CArchive ar(&memory, CArchive::store);
        Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        return FALSE;
    }
    const auto length = static_cast<std::size_t>(memory.GetLength());
    std::vector<uint8_t> bytes(length);
    memory.SeekToBegin();
    if (length > 0)
        memory.Read(bytes.data(), static_cast<unsigned>(length));
    if (!WriteFileAtomic(path, bytes))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
}

BOOL CDocument::DoSave(const CString& path, BOOL replace)
{
    CString target = path;
    if (target.IsEmpty()) {
        target = PromptForSaveFileName(m_strTitle);
        if (target.IsEmpty())
            return FALSE;
    }
    if (!OnSaveDocument(target))
        return FALSE;
    if (replace)
        SetPathName(target);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    return DoSave(m_strPathName);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(CString());
}
