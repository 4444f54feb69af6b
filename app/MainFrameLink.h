#pragma once

// What the main frame and the palettes need of the view. The frame lives in
// app/, before the view, so it reaches the view only through this interface;
// the view installs its implementation in g_pFrameLink when it is created.
// Every member has a quiet default, so the frame works before a view exists.

#include <cstdint>

#include "platform/ui/wintypes.h"

class CWnd;

class MainFrameLink {
public:
    virtual ~MainFrameLink() = default;

    // The frame made its command bar (output list, prompt, command edit,
    // mode combo, switches): the view writes and reads its controls.
    virtual void AttachCommandBar(CWnd*) {}
    // Screen size recorded once at frame creation.
    virtual void SetScreenSize(int, int) {}

    // Interpreter entry for Enter, Esc, Home, Delete and the hot-key codes.
    virtual void DispatchKey(int) {}
    // Starts command (0 ends the running one); the palettes and the Space
    // repeat also make it the last command.
    virtual void SetCommand(int, bool /*asLastCommand*/) {}
    virtual void SetCommandMode(int, int) {}
    // The command and variant flag that Space repeats (command 0: none).
    virtual void GetRepeatCommand(int& command, int& subFlag) { command = 0, subFlag = 0; }

    // Key and button bookkeeping of the keyboard map.
    virtual void SetCtrlDown(bool) {}
    virtual void ClearKeyLatches() {}                 // undo and edit latches, click-busy
    virtual void ClearMouseState() {}                 // click-busy, panning, redraw-pending

    // Zoom about a client pixel of the view (direction > 0 in x 1.4, < 0
    // out x 0.6); the last mouse pixel of the view; pan by screen pixels.
    virtual void ZoomAt(int, POINT) {}
    virtual POINT MousePixel() { return POINT{-1, -1}; }
    virtual void Pan(int, int) {}
    // Ctrl+arrows in the 3-D path view: turn and tilt by 4-degree steps.
    virtual void Turn3D(int, int) {}
    virtual CWnd* ViewWindow() { return nullptr; }

    // Function-key commands.
    virtual void Toggle3DView() {}
    virtual void ShowBatchPanel() {}                  // F10 when hidden
    virtual void StartArray() {}                      // F12 when the array panel is hidden
    virtual void CloseArrayPanel() {}
    virtual void HidePropertyPanel() {}               // F11 when shown: forget the panel unit
    virtual void ShowProperties() {}                  // F11 when hidden
    virtual void RunFileCommand(int) {}               // F1..F5 (key codes 112..116)

    // A command-bar switch changed (the frame already stored it).
    virtual void OptionSwitchChanged(int /*controlId*/, int /*value*/) {}
    // The line style chosen for new entities (0 solid, 1 dashed, 2 dotted).
    virtual void SetLineStyle(int, int /*dashDot*/) {}

    // Exit: stop a running path generation; the view timer that ends the
    // process is the frame's watchdog, so nothing else is asked.
    virtual void StopPathGeneration() {}
};

// The installed link, or a quiet default.
MainFrameLink& FrameLink();
extern MainFrameLink* g_pFrameLink;
