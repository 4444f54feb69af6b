#include "app/CZorvaDoc.h"

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/DocumentUi.h"
#include "app/dat_import.h"
#include "app/dxf_import.h"
#include "app/recovery_snapshot.h"
#include "app/wcx_file.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"
#include "platform/core/CArchive.h"
#include "platform/core/files.h"
#include "platform/ui/CDocTemplate.h"
#include "platform/ui/message_box.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr char16_t kWaitForWorker[] = u"#请等待线程处理完成...";

// The folder part of a path (before its last separator).
CString FolderOf(const CString& path)
{
    int cut = std::max(path.ReverseFind(u'\\'), path.ReverseFind(u'/'));
    return cut < 0 ? CString() : path.Left(cut);
}

// Runs a modal file dialog with the modal mark set around it.
bool RunFileDialog(int dialogId, bool save)
{
    g_modalDialogId = dialogId;
    bool ok = save ? DocUi().RunSaveDialog() : DocUi().RunOpenDialog();
    g_keyDownSeen = 0;
    g_modalDialogId = 0;
    return ok;
}

// The name with the extension of the dialog type; an empty base is
// reported, a dialog type other than drawing or path export does nothing.
bool NameForType(CString& name)
{
    int dot = name.Find(u'.');
    CString base = dot <= 0 ? name : name.Left(dot);
    base.Trim();
    if (base.IsEmpty()) {
        DocUi().PrintLine(u"存盘失败，未设置文件名");
        return false;
    }
    if (g_fileDialogType != 0 && g_fileDialogType != 1)
        return false;
    int last = name.ReverseFind(u'.');
    CString ext = last < 0 ? CString() : name.Mid(last + 1);
    ext.MakeLower();
    const char16_t* wanted = g_fileDialogType == 0 ? u"wcx" : u"dcx";
    if (ext != CString(wanted))
        name = base + u"." + wanted;
    return true;
}

} // namespace

void CZorvaDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        std::lock_guard<std::recursive_mutex> lock(m_listMutex);
        StoreDrawing(ar, m_unitList);
        return;
    }
    CUnitArray loaded;
    WcxLoad result = LoadDrawing(ar, loaded);
    if (result == WcxLoad::ok) {
        ReplaceDrawing(loaded);
        g_UnitIdCounter = LargestUnitId(m_unitList);
        g_undoStep = 1;
        g_undoCount = 0;
        g_redoCount = 0;
    } else if (g_viewReady) {
        DocUi().PrintLine(result == WcxLoad::badMagic ? u"#不是有效的.wcx文件" : u"#文件版本号不相同，无法读取");
    }
}

void CZorvaDoc::FitViewToDrawing()
{
    FitViewToUnits(m_unitList);
}

void DrawingBox::Add(CUnit* unit)
{
    ++units;
    if (unit == nullptr || unit->deleted)
        return;
    unit->ComputeExtents();
    if (!any) {
        lo = x_Vector(unit->extentMin.x, unit->extentMin.y);
        hi = x_Vector(unit->extentMax.x, unit->extentMax.y);
        any = true;
        return;
    }
    lo.Set(std::min(lo.x, unit->extentMin.x), std::min(lo.y, unit->extentMin.y));
    hi.Set(std::max(hi.x, unit->extentMax.x), std::max(hi.y, unit->extentMax.y));
}

void FitViewToUnits(const CUnitArray& units)
{
    DrawingBox box;
    for (CUnit* unit : units)
        box.Add(unit);
    FitViewToBox(box);
}

void FitViewToBox(const DrawingBox& box)
{
    g_DrawingExtents[0] = x_Vector(0.0, 0.0);
    g_DrawingExtents[1] = x_Vector(0.0, 0.0);
    if (box.units == 0) {
        g_ViewScale = 10.0;
        g_ViewOriginX = g_defaultOriginX;
        g_ViewOriginY = g_defaultOriginY;
        return;
    }
    if (box.any) {
        g_DrawingExtents[0] = box.lo;
        g_DrawingExtents[1] = box.hi;
    }
    const x_Vector lo = g_DrawingExtents[0];
    const x_Vector hi = g_DrawingExtents[1];
    const int w = RoundHalfUp(0.6 * (g_ViewClientRect.right - g_ViewClientRect.left));
    const int h = RoundHalfUp(0.6 * (g_ViewClientRect.bottom - g_ViewClientRect.top));
    const double sx = std::max(hi.x - lo.x, 0.8);
    const double sy = std::max(hi.y - lo.y, 0.8);
    double scale = std::min(h / sy, w / sx);
    // Also a box of infinities or of no numbers at all.
    if (!(scale >= 0.01)) {
        scale = 0.11;
    } else if (scale >= 600.0) {
        g_ViewScale = 600.0;
        return;
    }
    const double cx = (lo.x + hi.x) / 2.0;
    const double cy = (lo.y + hi.y) / 2.0;
    if (!std::isfinite(cx) || !std::isfinite(cy)) {
        g_ViewScale = scale;
        g_ViewOriginX = g_defaultOriginX;
        g_ViewOriginY = g_defaultOriginY;
        return;
    }
    // A centre too far out for the origin at this scale (a coordinate of
    // 1e11 mm): the smallest scale the view allows brings it in as far as
    // it can come. Before, the origin's conversion overflowed (undefined)
    // and the drawing was put off screen.
    if (std::max(std::abs(scale * cx), std::abs(scale * cy)) > kViewOriginLimit)
        scale = kSmallestViewScale;
    g_ViewScale = scale;
    g_ViewOriginX = ClampViewOrigin(std::trunc(g_defaultOriginX - scale * cx));
    g_ViewOriginY = ClampViewOrigin(std::trunc(scale * cy + g_defaultOriginY));
}

void CZorvaDoc::SaveDocument(int mode)
{
    // Before, Save compacted the list while a path generation walked it.
    if (DocUi().WorkerBusy()) {
        DocUi().PrintLine(kWaitForWorker);
        return;
    }
    if (g_currentFileName.IsEmpty() || mode == 1) {
        if (!RunFileDialog(1001, true))
            return;
    }
    if (g_currentFileName.IsEmpty())
        return;
    if (!NameForType(g_currentFileName))
        return;
    const CString folder = FolderOf(g_currentFilePath);
    if (!FolderExists(folder)) {
        DocUi().PrintLine(u"#保存失败,文件路径失效");
        return;
    }
    const CString full = folder + u"\\" + g_currentFileName;
    if (!FolderExists(FolderOf(full))) {
        DocUi().PrintLine(u"#保存失败,文件路径错误");
        return;
    }
    CString done;
    done.Format(u"存盘成功--%s", g_currentFileName.GetString());
    if (g_fileDialogType == 1) {
        DocUi().PrintLine(DocUi().WriteDcxFile(full) ? done : CString(u"#保存失败"));
        return;
    }
    DocUi().ShowFileName(g_currentFileName);
    // Before, the mark was cleared and the file truncated before writing,
    // and a file that could not be created still reported success.
    if (!WriteWcxFile(full, *this)) {
        DocUi().PrintLine(u"#保存文件失败");
        return;
    }
    FollowDrawingFile(full);
    WriteRecoverySnapshot(*this);
    DocUi().RedrawNow();
    DocUi().ResetCommandEdit();
    DocUi().PrintLine(done);
}

void CZorvaDoc::OnFileSaveAs()
{
    if (DocUi().WorkerBusy()) {
        DocUi().PrintLine(kWaitForWorker);
        return;
    }
    if (RunFileDialog(1001, true)) {
        if (!FolderExists(FolderOf(g_currentFilePath))) {
            DocUi().PrintLine(u"#保存失败,文件路径错误");
            return;
        }
        CString done;
        done.Format(u"存盘成功文件--%s", g_currentFileName.GetString());
        // Before, the ".dcx" type wrote a drawing under the ".dcx" name.
        if (g_fileDialogType == 1) {
            DocUi().PrintLine(DocUi().WriteDcxFile(g_currentFilePath) ? done : CString(u"#保存失败"));
        } else {
            DocUi().ShowFileName(g_currentFileName);
            const bool written = WriteWcxFile(g_currentFilePath, *this);
            if (written)
                FollowDrawingFile(g_currentFilePath);
            DocUi().PrintLine(written ? done : CString(u"#保存文件失败"));
        }
    }
    DocUi().RedrawNow();
    DocUi().ResetCommandEdit();
}

bool CZorvaDoc::LoadByDialogType(const CString& path, CUnitArray& loaded)
{
    switch (g_fileDialogType) {
    case 0:
        m_loadedBox = DrawingBox();
        m_loadedBoxValid = false;
        switch (ReadWcxFile(path, loaded, &m_loadedBox)) {
        case WcxRead::loaded:
            m_loadedBoxValid = true;
            return true;
        case WcxRead::damaged:
            DocUi().PrintLine(u"#文件错误!");
            return false;
        default:
            return false;
        }
    case 1:
        return ImportDxfFile(path, loaded);
    case 2:
        return ImportDatFile(path, loaded);
    default:
        return false;
    }
}

void CZorvaDoc::AfterDrawingLoaded()
{
    // Ids continue after the largest loaded one (before, the counter was
    // reset to 0 while the loaded units kept their ids).
    g_UnitIdCounter = LargestUnitId(m_unitList);
    g_undoStep = 1;
    g_undoCount = 0;
    g_redoCount = 0;
    if (g_fileDialogType == 0) {
        if (m_loadedBoxValid && m_loadedBox.units == m_unitList.GetSize())
            FitViewToBox(m_loadedBox);
        else
            FitViewToDrawing();
        m_loadedBoxValid = false;
        if (g_ViewScale != g_loadedViewScale || g_ViewOriginX != g_loadedViewOriginX ||
            g_ViewOriginY != g_loadedViewOriginY)
            g_SettingsDirty = 1;
    }
    DocUi().AfterDrawingLoaded();
    DocUi().ShowFileName(g_currentFileName);
    g_drawingModified = 1;
    // The drawing is the file's now (still written to the snapshot at exit).
    MarkSaved();
}

namespace {

// The open dialog's kinds, taken from a file name's extension.
int FileTypeOfName(const CString& name)
{
    const int dot = name.ReverseFind(u'.');
    CString ext = dot < 0 ? CString() : name.Mid(dot + 1);
    ext.MakeLower();
    if (ext == CString(u"dxf"))
        return 1;
    if (ext == CString(u"dat"))
        return 2;
    return 0;
}

} // namespace

bool CZorvaDoc::OpenFromCommandLine(const CString& path)
{
    const CString full = AbsolutePath(path);
    const int cut = std::max(full.ReverseFind(u'\\'), full.ReverseFind(u'/'));
    g_currentFilePath = full;
    g_currentFileName = full.Mid(cut + 1);
    g_fileDialogType = FileTypeOfName(g_currentFileName);
    CUnitArray loaded;
    if (FileExists(full) && LoadByDialogType(full, loaded)) {
        ReplaceDrawing(loaded);
        AfterDrawingLoaded();
        FollowDrawingFile(g_fileDialogType == 0 ? full : CString());
        g_fileDialogType = 0;
        return true;
    }
    FreeUnitArray(loaded);
    CString why;
    why.Format(u"#未能打开文件--%s", full.GetString());
    g_currentFileName.Empty();
    g_currentFilePath.Empty();
    g_fileDialogType = 0;
    DocUi().ShowFileName(CString());
    DocUi().PrintLine(why);
    return false;
}

// Before, the built-in dialogs left the path alone: Ctrl+S after a Save
// As asked for a name again, and after a DXF open it wrote the imported
// drawing over the drawing file opened before.
void CZorvaDoc::FollowDrawingFile(const CString& wcxPath)
{
    if (!wcxPath.IsEmpty()) {
        SetPathName(wcxPath);
        return;
    }
    m_strPathName.Empty();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->SetDefaultTitle(this);
}

// Before, the path stayed: the snapshot kept it, and after a restart
// Ctrl+S wrote the new drawing over the file saved before.
BOOL CZorvaDoc::OnNewDocument()
{
    g_currentFileName.Empty();
    g_currentFilePath.Empty();
    // Every unit made from now on is an edit (the view empties the lists
    // after this, and may count the ids from 0 again).
    g_unsavedEdits = 0;
    m_savedUnitId = 0;
    return CDocument::OnNewDocument();
}

// Before a new drawing or another file takes the place of one with edits
// not yet saved: asks whether to save them. Yes saves as Ctrl+S does (a
// save that fails or is cancelled keeps the drawing); No lets them go;
// Cancel keeps the drawing. Before, New and Open dropped such edits
// without a word.
bool CZorvaDoc::ConfirmDiscardEdits()
{
    if (g_unsavedEdits == 0)
        return true;
    CString question;
    question.Format(u"是否保存对 %s 的更改？", g_currentFileName.IsEmpty() ? u"无标题" : g_currentFileName.GetString());
    switch (AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        // As Ctrl+S saves: to the drawing's file, or asks for a name.
        return DoFileSave() && g_unsavedEdits == 0;
    case IDNO:
        return true;
    default:
        return false;
    }
}

void CZorvaDoc::MarkSaved()
{
    g_unsavedEdits = 0;
    m_savedUnitId = g_UnitIdCounter;
}

BOOL CZorvaDoc::OnSaveDocument(const CString& path)
{
    if (!CDocument::OnSaveDocument(path))
        return FALSE;
    MarkSaved();
    return TRUE;
}

BOOL CZorvaDoc::SaveModified()
{
    return ConfirmDiscardEdits() ? TRUE : FALSE;
}

void CZorvaDoc::OnFileOpen()
{
    if (DocUi().WorkerBusy()) {
        DocUi().PrintLine(kWaitForWorker);
        return;
    }
    if (!g_openHintShown) {
        g_openHintShown = 1;
        DocUi().PrintLine(u"*打开/保存文件，面板功能快捷键（~/Back/Enter/方向键）");
        DocUi().PrintSeparator();
    }
    if (!ConfirmDiscardEdits()) {
        DocUi().ResetCommandEdit();
        return;
    }
    const CString oldName = g_currentFileName;
    const CString oldPath = g_currentFilePath;
    if (RunFileDialog(1000, false) && FileExists(g_currentFilePath)) {
        // Parsed into a list of its own: a failed load keeps the drawing,
        // its history, its name and the recovery tag.
        CUnitArray loaded;
        if (LoadByDialogType(g_currentFilePath, loaded)) {
            ReplaceDrawing(loaded);
            AfterDrawingLoaded();
            FollowDrawingFile(g_fileDialogType == 0 ? g_currentFilePath : CString());
            // An imported file is a drawing from now on: before, Save after a
            // DXF open exported paths (type 1) and after a ".dat" did nothing.
            g_fileDialogType = 0;
        } else {
            FreeUnitArray(loaded);
            g_currentFileName = oldName;
            g_currentFilePath = oldPath;
        }
    }
    DocUi().ResetCommandEdit();
}
