#pragma once

// The modal tool dialogs belong to later folders (path dialogs, generators,
// calculators): each registers how it runs under its dialog number, and the
// document's menu commands run it through DocumentUi::RunToolDialog.

// Runs the dialog modally; true when it ended with OK.
using ToolDialogRunner = bool (*)();

void RegisterToolDialog(int number, ToolDialogRunner run);
// The machine coding version dialog, opened by the view's menu (its
// template number; it has no modal mark).
constexpr int kCodingVersionDialog = 253;
// The registered dialog's result; false when none is registered.
bool RunRegisteredToolDialog(int number);
bool ToolDialogRegistered(int number);
