#pragma once

// What the document needs of the view, the command bar and the file
// dialogs. The view implements it later; tests derive from it to collect
// the printed lines and to answer the file dialogs.

#include <vector>

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "app/tool_dialogs.h"
#include "platform/core/CString.h"

class CUnit;

class DocumentUi {
public:
    virtual ~DocumentUi() = default;

    // A line of the command output list ("#" error, "*" hint, ">" info).
    virtual void PrintLine(const CString& text) { m_lines.push_back(text); }
    // The line of 68 hyphens between the output of two operations.
    virtual void PrintSeparator() { m_lines.push_back(CString(u'-', 68)); }
    // The file name field of the command bar.
    virtual void ShowFileName(const CString& name) { m_fileName = name; }
    // The prompt field of the command bar.
    virtual void SetPromptLine(const CString& text) { m_prompt = text; }
    virtual void RedrawNow() {}
    // Empties the command edit and gives it the focus.
    virtual void ResetCommandEdit() {}
    // A worker request (path generation) is pending.
    virtual bool WorkerBusy() { return false; }
    // The modal save / open dialogs. On OK they set g_currentFileName,
    // g_currentFilePath and g_fileDialogType and return true.
    // By default the built-in dialogs CZorvaFileSaveAs and CZorvaOpenFile.
    virtual bool RunSaveDialog();
    virtual bool RunOpenDialog();
    virtual bool WriteDcxFile(const CString&) { return false; }
    // Path export: fills the export order from the selected paths when it
    // is empty and returns its size; with none, asks the user to pick.
    virtual int CollectExportPaths() { return 0; }
    virtual void AskForExportPaths() {}
    // A unit is about to be freed: forget every pointer to it.
    virtual void OnUnitFreed(CUnit*) {}
    // Clears the transient marks (selection, highlight) of every live unit.
    virtual void ResetEntityMarks();
    // Runs the modal tool dialog of the given number (1100 multi-pass path,
    // 1101 single-pass path, 1104 colours, ...); true when it ended with OK.
    // By default the dialog its folder registered (app/tool_dialogs.h).
    virtual bool RunToolDialog(int number) { return RunRegisteredToolDialog(number); }
    // The OK of the text panel: places the text being set.
    virtual void ApplyTextAnnotation() {}
    // Starts a command of the view (66: interactive path generation).
    virtual void StartCommand(int) {}
    // The property panel: makes unit (may be null) the view's property
    // unit and fills the panel from it, clears the right-button state, and
    // shows the panel.
    virtual void ShowProperties(CUnit*) {}
    // The entity the property panel shows (the view's m_pPanelUnit).
    virtual CUnit* PanelUnit() { return nullptr; }
    virtual void SetPanelUnit(CUnit*) {}
    // Ends an edit: degenerate entities purged, the undo step closed.
    virtual void EndEdit() {}
    // The command bar's "锁定" and "修改" switches.
    virtual bool LockOn() { return false; }
    virtual bool ModifyOn() { return true; }
    // The plain command name of the entity's type ("直线", "半径标注", ...).
    virtual CString EntityTypeName(CUnit&) { return CString(); }
    // A wire path's total length (the larger of its lower and upper lists).
    virtual double PathLength(CUnit&) { return 0.0; }
    // After a drawing was loaded: symbol sizes, visible area, repaint.
    virtual void AfterDrawingLoaded() {}
    // After a failed open: centre the view and reset its command state.
    virtual void ResetViewForNewDrawing() {}

    std::vector<CString> m_lines;
    CString m_fileName;
    CString m_prompt;
};

// The installed interface, or a quiet default.
DocumentUi& DocUi();
