#pragma once

#include "platform/ui/CControlBar.h"

#include <vector>

constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

// A row of text panes at the bottom of a frame or dialog. Pane 0 of a
// frame shows the menu and toolbar prompts; the Caps, Num and Scroll Lock
// indicators show their key's state.
class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = 0xE801);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = 0xE801);
    // One pane per id; ID_SEPARATOR (0) is a stretching pane. A pane's width
    // and first text come from its id's resource string.
    BOOL SetIndicators(const UINT* ids, int count);

    int GetCount() const { return int(m_panes.size()); }
    BOOL SetPaneText(int index, const CString& text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    void GetItemRect(int index, LPRECT rect) const;

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

private:
    struct Pane {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        CString text;
        QWidget* label = nullptr;
    };
    void Rebuild();
    void Apply(Pane& p);
    std::vector<Pane> m_panes;
};
