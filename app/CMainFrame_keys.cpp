// The keyboard map: key releases in any window of the frame become hot keys
// of the interpreter, command starts, zoom and pan, and document commands.
// Also the frame's timer (deferred F1..F5), the wheel zoom and closing.

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/CZorvaApp.h"
#include "app/FrameState.h"
#include "app/MainFrameLink.h"
#include "app/frame_resources.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CDialog.h"

namespace {

constexpr UINT kFKeyTimer = 1;
constexpr int kPanStep = 50;

// Commands the function keys F1..F5 run, through the frame's routing.
UINT FunctionKeyCommand(int key)
{
    switch (key) {
    case VK_F1: return 32808;        // open
    case VK_F1 + 1: return 32926;    // save as
    case VK_F1 + 2: return 32818;    // single-pass path
    case VK_F1 + 3: return 32930;    // multi-pass path
    case VK_F1 + 4: return 32845;    // path export
    default: return 0;
    }
}

int HotKeyCode(UINT key)
{
    switch (key) {
    case 'Z': return 4003;
    case 'Y': return 4001;
    case 'C': return 4020;
    case 'V': return 4022;
    case 'X': return 4024;
    case 'A': return 4027;
    default: return 0;
    }
}

bool IsAutoRepeatRelease(const MSG* msg)
{
    return (msg->lParam & KF_AUTOREPEAT_RELEASE) != 0;
}

} // namespace

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    switch (msg->message) {
    case WM_LBUTTONUP:
        FrameLink().ClearMouseState();
        g_keyDownSeen = 0;
        break;
    case WM_KEYDOWN:
        g_keyDownSeen = 1;
        if (msg->wParam == VK_CONTROL)
            FrameLink().SetCtrlDown(true);
        if (msg->wParam < m_keysDown.size()) {
            m_keysDown[msg->wParam] = true;
            m_pressedWithCtrl[msg->wParam] = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        }
        break;
    case WM_KEYUP:
        // A held key repeats as release-press pairs: only the last release
        // is the user letting go. Acting on each step repeated undo, zoom
        // and pan for as long as the key was held.
        if (!IsAutoRepeatRelease(msg))
            HandleKeyRelease(msg);
        break;
    default:
        break;
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

void CMainFrame::HandleKeyRelease(MSG* msg)
{
    const UINT key = UINT(msg->wParam);
    if (key == VK_CONTROL)
        FrameLink().SetCtrlDown(false);
    FrameLink().ClearKeyLatches();
    // Before, only the state at the release counted: Ctrl let go a few
    // milliseconds before the letter turned Ctrl+Z into a plain Z.
    const bool withCtrl = key < m_pressedWithCtrl.size() && m_pressedWithCtrl[key];
    if (key < m_keysDown.size()) {
        m_pressedWithCtrl[key] = false;
        m_keysDown[key] = false;
    }
    // Ctrl let go before the letter leaves the press latch to the letter.
    if (key == VK_CONTROL && m_keysDown.any())
        return;
    if (g_keyDownSeen == 0)
        return;
    g_keyDownSeen = 0;
    const bool ctrl = withCtrl || (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (ctrl && key >= 'A' && key <= 'Z') {
        if (const int code = HotKeyCode(key))
            FrameLink().DispatchKey(code);
        return;
    }
    if (key == VK_LEFT || key == VK_RIGHT) {
        CWnd* target = CWnd::FromHandle(msg->hwnd);
        if (target != nullptr && target->GetDlgCtrlID() == IDC_COMMAND_EDIT && target->GetWindowTextLength() > 0)
            return;
    }
    HandleKey(key, ctrl);
}

void CMainFrame::HandleKey(UINT key, bool ctrl)
{
    MainFrameLink& view = FrameLink();
    const bool modal = g_modalDialogId != 0;
    const bool view3d = ctrl && g_curCommand == 22;
    switch (key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_HOME:
    case VK_DELETE:
        view.DispatchKey(int(key));
        break;
    case VK_SPACE: {
        int command = 0, subFlag = 0;
        view.GetRepeatCommand(command, subFlag);
        if (command != 0 && g_curCommand == 0) {
            g_cmdSubFlag = std::uint8_t(subFlag);
            view.SetCommand(command, true);
        }
        break;
    }
    case VK_PRIOR:
        view.ZoomAt(1, view.MousePixel());
        break;
    case VK_NEXT:
        view.ZoomAt(-1, view.MousePixel());
        break;
    case VK_LEFT:
        view3d ? view.Turn3D(-1, 0) : view.Pan(-kPanStep, 0);
        break;
    case VK_RIGHT:
        view3d ? view.Turn3D(1, 0) : view.Pan(kPanStep, 0);
        break;
    case VK_UP:
        view3d ? view.Turn3D(0, -1) : view.Pan(0, -kPanStep);
        break;
    case VK_DOWN:
        view3d ? view.Turn3D(0, 1) : view.Pan(0, kPanStep);
        break;
    default:
        if (!modal)
            HandleFunctionKey(key);
        break;
    }
}

void CMainFrame::HandleFunctionKey(UINT key)
{
    MainFrameLink& view = FrameLink();
    if (FunctionKeyCommand(int(key)) != 0) {
        g_pendingFKey = std::int32_t(key);
        SetTimer(kFKeyTimer, 1);
    } else if (key == VK_F1 + 8) {
        view.Toggle3DView();
    } else if (key == VK_F1 + 9) {
        if (g_batchPanelShown && g_pBatchPanel != nullptr) {
            g_pBatchPanel->ShowWindow(SW_HIDE);
            g_batchPanelShown = 0;
        } else {
            view.ShowBatchPanel();
        }
    } else if (key == VK_F1 + 10) {
        if (g_PropertyPanelShown) {
            view.HidePropertyPanel();
            g_PropertyPanelShown = 0;
            if (g_pPropertyPanel != nullptr)
                g_pPropertyPanel->ShowWindow(SW_HIDE);
        } else {
            SendMessage(WM_COMMAND, 32855, 0);
        }
    } else if (key == VK_F1 + 11) {
        if (g_arrayPanelShown) {
            view.CloseArrayPanel();
            g_arrayPanelShown = 0;
        } else {
            view.StartArray();
        }
    }
}

void CMainFrame::OnTimer(UINT_PTR)
{
    KillTimer(kFKeyTimer);
    const UINT command = FunctionKeyCommand(g_pendingFKey);
    g_pendingFKey = 0;
    if (command != 0)
        SendMessage(WM_COMMAND, command, 0);
}

void CMainFrame::OnKeyUp(UINT key, UINT, UINT)
{
    if (key == VK_CONTROL)
        FrameLink().SetCtrlDown(false);
    g_keyDownSeen = 0;
}

BOOL CMainFrame::OnMouseWheel(UINT, short delta, CPoint point)
{
    CWnd* view = FrameLink().ViewWindow();
    if (view != nullptr && delta != 0) {
        POINT client{point.x, point.y};
        view->ScreenToClient(&client);
        FrameLink().ZoomAt(delta > 0 ? 1 : -1, client);
    }
    return TRUE;
}

void CMainFrame::OnClose()
{
    CZorvaApp::ExitApplication();
}

void CMainFrame::OnDestroy()
{
    CFrameWnd::OnDestroy();
    EndProcess(0);
}
