// The view's side of the main frame: the keyboard map, the palettes, the
// wheel and the command bar reach the view only through this link, which
// the view installs while its window exists.

#include <memory>

#include "app/AppState.h"
#include "app/FrameState.h"
#include "platform/ui/CDialog.h"
#include "app/MainFrameLink.h"
#include "app/frame_resources.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"
#include "view/view_settings_sync.h"

namespace {

constexpr double kTurnStep = 4.0 * kPi / 180.0;   // one arrow press in the 3-D path view

class ViewFrameLink : public MainFrameLink {
public:
    explicit ViewFrameLink(CZorvaView& view) : m_view(view) {}
    bool Serves(const CZorvaView* view) const { return &m_view == view; }

    void AttachCommandBar(CWnd* bar) override
    {
        g_commandBar = bar;
        // The frame shows the switches of the settings block; the view reads
        // its own copies, so both start equal.
        CopyViewSettingsFromBlocks();
    }
    void SetScreenSize(int width, int height) override
    {
        g_screenWidth = width;
        g_screenHeight = height;
    }

    void DispatchKey(int key) override { m_view.DispatchKey(key); }
    void SetCommand(int command, bool asLastCommand) override
    {
        if (asLastCommand)
            g_lastCommand = command;
        m_view.SetCommand(command);
    }
    void SetCommandMode(int command, int mode) override
    {
        if (command >= 1 && command <= 56 && mode >= 0 && mode < 255)
            ::SetCommandMode(static_cast<std::uint8_t>(mode), command - 1);
    }
    void GetRepeatCommand(int& command, int& subFlag) override
    {
        command = m_view.m_repeatCommand;
        subFlag = m_view.m_repeatSubFlag;
    }

    void SetCtrlDown(bool down) override { g_ctrlDown = down ? 1 : 0; }
    void ClearKeyLatches() override
    {
        m_view.m_clickBusy = 0;
        g_UndoKeyLatch = 0;
        g_EditKeyLatch = 0;
    }
    void ClearMouseState() override
    {
        m_view.m_clickBusy = 0;
        m_view.m_panning = 0;
        m_view.m_redrawPending = 0;
    }

    // The view's zoom takes 1 for out and any other value for in.
    void ZoomAt(int direction, POINT pixel) override
    {
        if (direction != 0)
            m_view.ZoomAt(direction > 0 ? 0 : 1, pixel.x, pixel.y);
    }
    POINT MousePixel() override { return m_view.m_mousePixel; }
    void Pan(int dx, int dy) override
    {
        g_ViewOriginX += dx;
        g_ViewOriginY += dy;
        g_cmdPointCount = 0;
        m_view.UpdateViewCorners();
        m_view.RedrawNow();
    }
    void Turn3D(int turn, int tilt) override
    {
        m_view.m_dragStart.x += turn;
        m_view.m_dragStart.y += tilt;
        g_View3D.turn += turn * kTurnStep;
        g_View3D.tilt += tilt * kTurnStep;
        Update3DViewAngles();
        m_view.RedrawNow();
    }
    CWnd* ViewWindow() override { return &m_view; }

    void Toggle3DView() override { m_view.OnToggle3DView(); }
    void StartArray() override { SetCommand(kCmdArray, false); }
    void ShowBatchPanel() override { m_view.OnBatchPathsToolbar(); }
    // The panel's own close (its cancel) accepts a pending array.
    void CloseArrayPanel() override
    {
        if (g_pArrayPanel != nullptr)
            g_pArrayPanel->OnCancel();
    }
    void HidePropertyPanel() override { m_view.m_pPanelUnit = nullptr; }

    void OptionSwitchChanged(int id, int value) override
    {
        switch (id) {
        case IDC_ORTHO: g_orthoOn = value; break;
        case IDC_TRACK: g_trackOn = value; break;
        case IDC_SNAP: g_snapOn = value; break;
        case IDC_GRIPEDIT: g_gripEditOn = value; break;
        case IDC_LOCK: g_LockSwitch = value; break;
        case IDC_ENDPOINTS: g_endpointsOn = value; break;
        default: return;
        }
        m_view.RedrawNow();
    }

private:
    CZorvaView& m_view;
};

// One view at a time owns the link.
std::unique_ptr<ViewFrameLink> s_link;

} // namespace

int CZorvaView::OnCreate(LPCREATESTRUCT cs)
{
    if (CScrollView::OnCreate(cs) == -1)
        return -1;
    s_link = std::make_unique<ViewFrameLink>(*this);
    g_pFrameLink = s_link.get();
    return 0;
}

void CZorvaView::OnDestroy()
{
    if (s_link != nullptr && s_link->Serves(this)) {
        if (g_pFrameLink == s_link.get())
            g_pFrameLink = nullptr;
        s_link.reset();
    }
    CScrollView::OnDestroy();
}
