#pragma once

#include "platform/ui/CWnd.h"
#include "platform/ui/resources.h"

#include <memory>
#include <vector>

class CControlBar;
class CDocument;
class CMenu;
class CStatusBar;
class CView;
struct CCreateContext;

constexpr DWORD FWS_PREFIXTITLE = 0x00004000;

// The main window: a menu bar declared in code, bars docked on its sides,
// one view in the middle. Commands go to the active view (and its
// document), then to the frame, then to the application.
class CFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window with the menu and accelerator table registered
    // under resourceId; the context names the view to create.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);

    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* view) { m_pActiveView = view; }
    CDocument* GetActiveDocument() const;

    CMenu* GetMenu() const override { return m_pMenu; }
    // Shows menu (not owned) as the menu bar; null removes the bar.
    BOOL SetMenu(CMenu* menu);
    void DrawMenuBar();
    // The update handlers decide item states as a menu opens; items without
    // a handler are disabled.
    bool m_bAutoMenuEnable = true;

    void EnableDocking(DWORD dockStyle) { m_dockStyle = dockStyle; }
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay = FALSE);
    void RecalcLayout(BOOL notify = TRUE);
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);

    void SetMessageText(const CString& text);
    void SetMessageText(UINT id);
    CStatusBar* GetMessageBar() const;

    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void SetTitle(const CString& title) { m_strTitle = title; }
    const CString& GetTitle() const { return m_strTitle; }
    virtual void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);

    // Runs the update handlers of every bar (the framework does it when idle).
    void UpdateCommandUI();
    // Runs the update handlers of a menu's items.
    void UpdateMenuCmdUI(CMenu* menu);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnClose() override;
    void OnDestroy() override;

    CString m_strTitle;
    bool m_bAutoDelete = false; // deletes itself (and its views) when destroyed
    UINT m_nIDHelp = 0;

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT nID);
    HWND CreateWidget(const CREATESTRUCT& cs, CWnd* parent) override;
    void PostNcDestroy() override;
    // The command id of an accelerator matching this key press, or 0.
    UINT FindAccelerator(UINT vk) const;
    void LayOutHidden();

    CView* m_pActiveView = nullptr;
    CMenu* m_pMenu = nullptr;
    std::unique_ptr<CMenu> m_loadedMenu;
    const std::vector<ACCEL>* m_accel = nullptr;
    std::vector<CControlBar*> m_bars;
    std::vector<CView*> m_ownedViews;
    DWORD m_dockStyle = 0;
};
