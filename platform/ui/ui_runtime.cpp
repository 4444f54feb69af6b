#include "platform/ui/ui_runtime.h"

#include "platform/ui/CWnd.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <thread>
#include <unordered_map>

namespace uirt {
namespace {

std::atomic<std::thread::id> g_guiThread{};
std::unordered_map<QWidget*, CWnd*> g_wndMap;
int g_dispatchDepth = 0;
thread_local int t_paintDepth = 0;
QPointer<QWidget> g_cursorTarget;

// Key state: bit 0x80 down, bit 0x01 toggled.
std::atomic<std::uint8_t> g_keys[256];

int g_fakeArgc = 1;
char g_fakeName[] = "zorva";
char* g_fakeArgv[] = {g_fakeName, nullptr};

} // namespace

void EnsureApplication(int* argc, char** argv)
{
    if (QCoreApplication::instance() == nullptr) {
        if (argc == nullptr) {
            argc = &g_fakeArgc;
            argv = g_fakeArgv;
        }
        // QApplication keeps references to argc/argv for its lifetime.
        new QApplication(*argc, argv);
    }
    if (g_guiThread.load() == std::thread::id())
        g_guiThread = std::this_thread::get_id();
    InstallInputRouter();
    InstallPaintTrace();
}

bool IsGuiThread()
{
    const std::thread::id gui = g_guiThread.load();
    return gui == std::thread::id() || gui == std::this_thread::get_id();
}

void MapWidget(QWidget* widget, CWnd* wnd)
{
    if (widget != nullptr)
        g_wndMap[widget] = wnd;
}

void UnmapWidget(QWidget* widget, CWnd* wnd)
{
    auto it = g_wndMap.find(widget);
    if (it != g_wndMap.end() && it->second == wnd)
        g_wndMap.erase(it);
}

CWnd* Lookup(QWidget* widget)
{
    auto it = g_wndMap.find(widget);
    return it == g_wndMap.end() ? nullptr : it->second;
}

DispatchScope::DispatchScope() { ++g_dispatchDepth; }
DispatchScope::~DispatchScope() { --g_dispatchDepth; }
bool InDispatch() { return g_dispatchDepth > 0; }

PaintScope::PaintScope() { ++t_paintDepth; }
PaintScope::~PaintScope() { --t_paintDepth; }
bool InPaint() { return t_paintDepth > 0; }

namespace {
bool g_mouseSeen = false;
QPoint g_mousePos;
} // namespace

void NoteMousePos(int x, int y)
{
    g_mouseSeen = true;
    g_mousePos = QPoint(x, y);
}

bool LastMousePos(QPoint* pos)
{
    if (g_mouseSeen)
        *pos = g_mousePos;
    return g_mouseSeen;
}

void SetCursorTarget(QWidget* widget) { g_cursorTarget = widget; }
QWidget* CursorTarget() { return g_cursorTarget; }

namespace {

struct KeyPair {
    int qt;
    UINT vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN}, {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU}, {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME}, {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN}, {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE}, {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Colon, VK_OEM_1}, {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2}, {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3}, {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4}, {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7}, {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'}, {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
};

} // namespace

UINT VirtualKeyFromQt(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return VK_NUMPAD0 + UINT(qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Period: return VK_DECIMAL;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return UINT(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + UINT(qtKey - Qt::Key_F1);
    for (const KeyPair& k : kKeys) {
        if (k.qt == qtKey)
            return k.vk;
    }
    return 0;
}

int QtKeyFromVirtualKey(UINT vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return int(vk);
    if (vk >= VK_F1 && vk < VK_F1 + 24)
        return Qt::Key_F1 + int(vk - VK_F1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9)
        return Qt::Key_0 + int(vk - VK_NUMPAD0);
    for (const KeyPair& k : kKeys) {
        if (k.vk == vk)
            return k.qt;
    }
    return 0;
}

void NoteKey(UINT vk, bool down)
{
    if (vk == 0 || vk > 255)
        return;
    std::uint8_t v = g_keys[vk].load();
    if (down && (v & 0x80) == 0)
        v ^= 0x01; // toggles on each fresh press, like Caps Lock
    v = down ? std::uint8_t(v | 0x80) : std::uint8_t(v & ~0x80);
    g_keys[vk] = v;
}

void NoteModifiers(bool shift, bool ctrl, bool alt)
{
    auto set = [](UINT vk, bool down) {
        if (((g_keys[vk].load() & 0x80) != 0) != down)
            NoteKey(vk, down);
    };
    set(VK_SHIFT, shift);
    set(VK_CONTROL, ctrl);
    set(VK_MENU, alt);
}

void NoteMouseButtons(bool left, bool right, bool middle)
{
    NoteKey(VK_LBUTTON, left);
    NoteKey(VK_RBUTTON, right);
    NoteKey(VK_MBUTTON, middle);
}

void ResetKeyState()
{
    for (auto& k : g_keys)
        k = 0;
}

} // namespace uirt

short GetKeyState(int virtKey)
{
    if (virtKey <= 0 || virtKey > 255)
        return 0;
    const std::uint8_t v = uirt::g_keys[virtKey].load();
    return short(((v & 0x80) != 0 ? 0x8000 : 0) | (v & 0x01));
}

short GetAsyncKeyState(int virtKey)
{
    return short(GetKeyState(virtKey) & 0x8000);
}
