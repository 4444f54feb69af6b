// Work that must run after the current message: one pending-action word run
// by view timer 1; timer 20 is the exit watchdog.

#include <cstdlib>

#include "app/AppState.h"
#include "app/CAboutDlg.h"
#include "app/CZorvaDoc.h"
#include "app/tool_dialogs.h"
#include "geometry/GeometryState.h"
#include "geometry/View3D.h"
#include "platform/ui/CClientDC.h"
#include "view/CZorvaView.h"

void CZorvaView::ArmPendingAction(int action, unsigned elapseMs)
{
    m_pendingAction = action;
    m_redrawPending = 1;
    SetTimer(kPendingTimer, elapseMs);
}

void CZorvaView::OnTimer(UINT_PTR id)
{
    m_redrawPending = 0;
    if (id == kExitWatchdogTimer)
        std::_Exit(0);
    KillTimer(id);
    const int action = m_pendingAction;
    m_pendingAction = kActionNone;
    RunPendingAction(action);
    // An action may arm a new request (the prompt's focus action); resetting
    // the word unconditionally here used to lose it.
}

void CZorvaView::RunPendingAction(int action)
{
    switch (action) {
    case kActionRescale:
        UpdateDashLengths();
        UpdateViewCorners();
        RedrawNow();
        break;
    case kActionPathView3D:
        Reset3DView();
        Update3DViewAngles();
        g_lastCommand = kCmdPathView3D;
        SetCommand(kCmdPathView3D);
        break;
    case kActionProperties:
        if (CZorvaDoc* doc = GetZorvaDoc())
            doc->OnEditProperties();
        break;
    case kActionHelpList:
        if (CZorvaDoc* doc = GetZorvaDoc())
            doc->OnHelp();
        break;
    case kActionToolPoint:
        g_lastCommand = kCmdToolPoint;
        SetCommand(kCmdToolPoint);
        break;
    case kActionOpen:
        if (CZorvaDoc* doc = GetZorvaDoc())
            doc->OnFileOpen();
        break;
    case kActionSave:
        if (CZorvaDoc* doc = GetZorvaDoc())
            doc->SaveDocument(0);
        break;
    case kActionSaveAs:
        if (CZorvaDoc* doc = GetZorvaDoc())
            doc->OnFileSaveAs();
        break;
    case kActionGearDialog:
    case kActionCalculator:
    case kActionCornerDialog:
    case kActionMachineCalc:
    case kActionFormulaCurve:
    case kActionColourScheme:
    case kActionOnePassDialog:
    case kActionMultiPassDialog:
        RunDialogAction(action);
        break;
    case kActionWearDialog:
        RunRegisteredToolDialog(kWearDialog);
        ResetCommandEdit();
        break;
    case kActionAbout: {
        CAboutDlg about;
        about.DoModal();
        break;
    }
    case kActionFocusEdit:
        if (g_commandBar != nullptr)
            if (CWnd* edit = g_commandBar->GetDlgItem(kIdCommandEdit))
                edit->SetFocus();
        break;
    case kActionPreview: {
        CClientDC dc(this);
        DrawPreview(&dc);
        break;
    }
    case kActionDeletePaths:
        DeleteAllPaths();
        break;
    case kActionExportPaths:
        if (CZorvaDoc* doc = GetZorvaDoc())
            doc->OnExportWork();
        break;
    default:
        break;
    }
}

// The typed commands open the same dialogs as the menu, through the
// document, so the modal mark and the command edit are handled alike.
void CZorvaView::RunDialogAction(int action)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    switch (action) {
    case kActionGearDialog: doc->OnCreateGear(); break;
    case kActionCalculator: doc->OnCalculator(); break;
    case kActionCornerDialog: doc->OnClearCornerParams(); break;
    case kActionMachineCalc: doc->OnMachineParams(); break;
    case kActionFormulaCurve: doc->OnFormulaCurve(); break;
    case kActionColourScheme: doc->OnColorConfig(); break;
    case kActionOnePassDialog: doc->OnTrailCreate(); break;
    case kActionMultiPassDialog: doc->OnTrailMany(); break;
    default: break;
    }
}
