#pragma once

#include "platform/ui/CControlBar.h"

#include <memory>
#include <vector>

class CImageList;
class QToolButton;
class QWidget;

constexpr DWORD TBSTYLE_FLAT = 0x0800;
// Button styles and states.
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x0100;
constexpr UINT TBBS_PRESSED = 0x0200;
constexpr UINT TBBS_DISABLED = 0x0400;
constexpr UINT TBBS_INDETERMINATE = 0x0800;

class CToolBar;

// The common-control face of a toolbar (state by command id).
class CToolBarCtrl {
public:
    explicit CToolBarCtrl(CToolBar* bar) : m_bar(bar) {}
    BOOL CheckButton(UINT id, BOOL check = TRUE);
    BOOL EnableButton(UINT id, BOOL enable = TRUE);
    BOOL IsButtonChecked(UINT id) const;
    BOOL IsButtonEnabled(UINT id) const;
    int GetButtonCount() const;
    CImageList* SetImageList(CImageList* images);

private:
    CToolBar* m_bar;
};

// A row of command buttons (text faces), docked on a side of the frame.
// Clicks send the button's command to the owner; check and enable states
// follow the update handlers (OnUpdateCmdUI). A separator may be given a
// width and host a control created as a child of the toolbar.
class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = 0xE800);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  const RECT& borders = RECT{}, UINT nID = 0xE800);
    // The buttons of the toolbar registered under resourceId.
    BOOL LoadToolBar(UINT resourceId);
    // ids: one per button, ID_SEPARATOR (0) for a separator.
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    void SetHeight(int height);

    int GetCount() const { return int(m_buttons.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    // Item rectangle in the toolbar's client coordinates.
    void GetItemRect(int index, LPRECT rect) const;
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    BOOL SetButtonText(int index, const CString& text);
    CString GetButtonText(int index) const;
    CToolBarCtrl& GetToolBarCtrl() { return m_ctrl; }

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    // The command of button index as a click would send it.
    void PressButton(int index);

private:
    friend class CToolBarCtrl;
    struct Button {
        UINT id = 0;
        UINT style = 0;
        int image = -1;
        int width = 0; // separators
        CString text;
        QWidget* widget = nullptr; // QToolButton, or the separator's spacer
    };
    void Rebuild();
    void Apply(Button& b);
    void ApplyState(Button& b);
    void UseImages(CImageList* images);
    std::vector<Button> m_buttons;
    CSize m_buttonSize{23, 22};
    int m_height = 0;
    CImageList* m_images = nullptr;
    std::unique_ptr<CImageList> m_resourceImages; // from the toolbar resource
    CToolBarCtrl m_ctrl;
};
