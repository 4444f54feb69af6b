#pragma once

// The main window of the drawing program: menu bar 128, the main toolbar
// with the line-style combo, the status bar, the command bar at the bottom,
// the left tool panel (tab panel with the palettes, or two toolbars), and
// the floating panels made hidden at start. Its pre-translation is the
// program's keyboard map: key releases become interpreter hot keys,
// command starts, zoom and pan, and document commands.

#include <bitset>
#include <memory>
#include <vector>

#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CDialogBar.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CStatusBar.h"
#include "platform/ui/CToolBar.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;

    void OnOptionSwitch(UINT id);
    void OnLineStyleChanged();
    void OnToolTabChanged(NMHDR* header, LRESULT* result);
    void OnModeListConfirmed();
    void OnModeListClosed();
    void OnCommandEditChanged() {}

    // Selects tab n and shows palette n (0..2), hiding the other two.
    void ShowToolPalette(int tab);

    CStatusBar m_wndStatusBar;
    CComboBox m_lineStyleCombo;

private:
    bool CreateMainToolBar();
    bool CreateLeftTools();
    bool CreateCommandBar();
    void CreateFloatingPanels();
    void HandleKeyRelease(MSG* msg);
    void HandleKey(UINT key, bool ctrl);
    void HandleFunctionKey(UINT key);

    CImageList m_mainImages;    // lives as long as the main toolbar
    CToolBar m_mainToolBar;
    CToolBar m_drawToolBar;
    CToolBar m_dimToolBar;
    CDialogBar m_toolTabBar;
    CDialogBar m_commandBar;
    // The floating panels this frame made; they go with it.
    std::vector<std::unique_ptr<CDialog>> m_panels;
    // Keys pressed while Ctrl was held: a fast typist lets Ctrl go a moment
    // before the letter, and the release still means Ctrl+letter.
    std::bitset<256> m_pressedWithCtrl;
    std::bitset<256> m_keysDown;

    DECLARE_MESSAGE_MAP()
};
