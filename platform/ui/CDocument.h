#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CCmdTarget.h"

#include <vector>

class CArchive;
class CDocTemplate;
class CView;

// The document of a document/view program: title, path, modified flag and
// its views. Opening and saving go through Serialize; saving writes a
// temporary file and renames it over the target.
class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const CString& title);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const CString& path, BOOL addToMru = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified ? TRUE : FALSE; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified != FALSE; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& Views() const { return m_views; }
    // Iteration in the framework's manner: index + 1 as the position, 0 at the end.
    using ViewPos = std::size_t;
    ViewPos GetFirstViewPosition() const { return m_views.empty() ? 0 : 1; }
    CView* GetNextView(ViewPos& pos) const;
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const CString& path);
    virtual BOOL OnSaveDocument(const CString& path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual BOOL SaveModified() { return TRUE; }
    // Asks for a file name when none is known (or asked for), then saves.
    virtual BOOL DoSave(const CString& path, BOOL replace = TRUE);
    BOOL DoFileSave();

    void OnFileSave();
    void OnFileSaveAs();

    // Platform: set by the template.
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    CString m_strTitle;
    CString m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_views;

    DECLARE_MESSAGE_MAP()
};
