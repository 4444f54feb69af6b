#pragma once

// The single document: the drawing list and the scratch list (from
// CUnitDocument, which the entities see through g_pDoc), the undo history
// and the drawing-file commands.

#include <cstdint>
#include <functional>

#include "geometry/CUnit.h"           // CUnitDocument.h needs it complete
#include "geometry/CUnitDocument.h"
#include "geometry/x_Vector.h"
#include "platform/core/CTypedPtrArray.h"
#include "platform/ui/CDocument.h"

class CArchive;
class CCmdUI;
class CRest;

using CRestArray = CTypedPtrArray<CObArray, CRest*>;

// Appends at index = current count; returns that index.
int AppendToObArray(CObject* object, CObArray& array);
// The box round a drawing's live units, gathered unit by unit.
struct DrawingBox {
    int units = 0;                      // units looked at, deleted ones too
    bool any = false;                   // a live unit's extents are in lo, hi
    x_Vector lo, hi;
    // Lets a live unit compute its extents and widens the box by them.
    void Add(CUnit* unit);
};
// Sets g_DrawingExtents from the box and the view transform so that the
// units fill the view.
void FitViewToBox(const DrawingBox& box);
// FitViewToBox of the box of the units.
void FitViewToUnits(const CUnitArray& units);

class CZorvaDoc : public CDocument, public CUnitDocument {
    DECLARE_DYNCREATE(CZorvaDoc)
public:
    // Installs itself in g_pDoc when none is installed.
    CZorvaDoc();
    // Frees every unit and record it still owns.
    ~CZorvaDoc() override;

    CRestArray m_restList;              // undo records
    std::uint8_t m_undoStepOpen = 0;    // the current step was prepared

    // --- lists (CZorvaDoc_lists.cpp) ---
    // Frees the drawing-list units the predicate picks: each is cleared
    // from every undo record and from the view first, then destroyed and
    // removed. Returns how many were freed.
    int FreeUnits(const std::function<bool(const CUnit*)>& pick);
    // The same over the units from index first on (the earlier ones are
    // not looked at): a long run frees what it appended at the end.
    int FreeUnitsFrom(int first, const std::function<bool(const CUnit*)>& pick);
    int FreeDeletedUnits();
    // Frees every unit of the drawing and scratch lists and the history.
    void FreeAllUnits();
    void FreeUndoHistory();
    // Takes over a loaded list as the drawing (the old units are freed);
    // loaded units get edit stamp 0 and the history starts afresh.
    void ReplaceDrawing(CUnitArray& loaded);

    // --- undo history (CZorvaDoc_undo.cpp) ---
    void PrepareUndoStep();
    void RecordDelete(CUnit* unit);
    void RecordDeleteAt(int index) override;
    void RecordTransformAt(int index, x_Vector displacement);
    CUnit* RecordDeleteObject(CUnit* unit);
    void RecordDeleteWithValue(CUnit* unit, CUnit* replacement);
    void CommitUndoStep(int skipCreations) override;
    void ApplyUndoStep(int stepId, int redo);
    // The undo and redo of the edit menu, on the ring counters.
    bool Undo();
    bool Redo();

    // --- drawing file (CZorvaDoc_file.cpp, wcx_file.cpp) ---
    void Serialize(CArchive& ar) override;
    void FitViewToDrawing();
    void SaveDocument(int mode);
    void OnFileSave() { SaveDocument(0); }
    void OnFileSaveAs();
    void OnFileOpen();
    // Opens the drawing named on the command line as Open opens a chosen
    // file; a file that cannot be read leaves the untitled drawing and says
    // why. True when it was loaded.
    bool OpenFromCommandLine(const CString& path);
    // The document's path (the caption and the framework's own save, Ctrl+S)
    // follows the drawing file last read or written; "" after an import.
    void FollowDrawingFile(const CString& wcxPath);
    // A new drawing has no file: the file name and path go with the
    // framework's path, so neither Save nor the snapshot keeps the old one.
    BOOL OnNewDocument() override;
    // Asked by the framework before a new drawing replaces this one.
    BOOL SaveModified() override;
    // The framework's save (Ctrl+S), marking the drawing saved.
    BOOL OnSaveDocument(const CString& path) override;
    // Whether the drawing may be replaced: true when it has no unsaved
    // edits, or the user saved them or let them go.
    bool ConfirmDiscardEdits();
    // The drawing as it is now is the one in its file (or a new one).
    void MarkSaved();

    // --- menu commands (CZorvaDoc_commands.cpp) ---
    void OnEditProperties();
    void OnTrailCreate() { RunToolDialog(kDlgTrailCreate); }
    void OnTrailMany() { RunToolDialog(kDlgTrailMany); }
    void OnColorConfig() { RunToolDialog(kDlgColorConfig); }
    void OnClearCornerParams() { RunToolDialog(kDlgClearCorners); }
    void OnMachineParams() { RunToolDialog(kDlgMachineParams); }
    void OnCreateGear() { RunToolDialog(kDlgCreateGear); }
    void OnCalculator() { RunToolDialog(kDlgCalculator); }
    void OnHelp() { RunToolDialog(kDlgHelp); }
    void OnFormulaCurve() { RunToolDialog(kDlgFormulaCurve); }
    void OnCostEstimate() { RunToolDialog(kDlgCostEstimate); }
    // F5, menu 32845: confirm, choose the ".dcx" file, write the paths.
    void OnExportWork();

    // Numbers of the modal tool dialogs (g_modalDialogId while they run).
    enum ToolDialog {
        kDlgTrailMany = 1100,
        kDlgTrailCreate = 1101,
        kDlgColorConfig = 1104,
        kDlgClearCorners = 1105,
        kDlgMachineParams = 1106,
        kDlgCreateGear = 1107,
        kDlgCalculator = 1108,
        kDlgHelp = 1109,
        kDlgFormulaCurve = 1110,
        kDlgCostEstimate = 1253,
    };
    // Runs a tool dialog with the modal mark set; the two path dialogs
    // start path generation on OK.
    void RunToolDialog(int number);
    // The tool dialog number of a menu command; 0 for other commands.
    static int ToolDialogOfCommand(UINT id);
    void OnUpdateToolDialog(CCmdUI* ui);

private:
    CRest* FindRecord(CUnit* unit);
    bool StepHasRecords(std::int32_t stepId) const;
    // Whether a record of the step names a unit whose id is above lastId.
    bool StepMadeUnitsSince(std::int32_t stepId, std::uint64_t lastId) const;
    CRest* RecordFor(CUnit* unit);
    void RecordCreations();
    void DropRedoTail();
    void FreeStepRecords(std::int32_t stepId, bool onlyReplayedDeleted);
    bool LoadByDialogType(const CString& path, CUnitArray& loaded);
    void AfterDrawingLoaded();
    // The box a drawing file's reader gathered while each unit was in the
    // cache; the fit after the load takes it instead of a second pass over
    // every unit.
    DrawingBox m_loadedBox;
    bool m_loadedBoxValid = false;

    // Units at or past this index were appended since the last commit: the
    // creations of the open step (ids of a ring slot repeat every lap).
    int m_stepStartCount = 0;
    // The largest unit id when the drawing was last saved, opened or begun
    // (MarkSaved): units above it are not in the file.
    std::uint64_t m_savedUnitId = 0;

    DECLARE_MESSAGE_MAP()
};
