// The path menu of the view: the machine coding version, the two path
// dialog buttons of the palette, and the start of a batch selection with
// its panel. The dialogs themselves belong to the process folder, which
// registers them (app/tool_dialogs.h, app/FrameState.h).

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/FrameState.h"
#include "app/tool_dialogs.h"
#include "geometry/GeometryState.h"
#include "view/CZorvaView.h"
#include "view/path_hooks.h"
#include "view/view_entities.h"

namespace {

constexpr double kRadToDeg = 57.29577951308232;

} // namespace

void CZorvaView::OnCodingVersion()
{
    RunRegisteredToolDialog(kCodingVersionDialog);
}

void CZorvaView::OnTrailCreateButton()
{
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->OnTrailCreate();
}

void CZorvaView::OnTrailManyButton()
{
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->OnTrailMany();
}

void CZorvaView::OnBatchPaths()
{
    StartBatchSelection();
    if (LoadBatchPanel())
        RedrawNow();                    // with the shapes' compensation labels
}

void CZorvaView::OnBatchPathsToolbar()
{
    OnBatchPaths();
}

// The contours of a batch are picked as a selection; the wear marks of an
// earlier correction would be taken as part of it.
void CZorvaView::StartBatchSelection()
{
    ClearWearMarks();
    g_batchContourPick = 1;
    ClearOutput();
    PrintLine(CString(u"*只支持闭合图形，除内孔圆加工外，需要绘制引入线"));
    PrintBatchSettings();
    PrintSeparator();
    PrintLine(CString(u"批量轨迹生成->第一步选择实线【Ctrl+A全选】"));
    ShowPrompt(CString(), 0);
    FreeTemporaryUnits();
    RedrawNow();
}

void CZorvaView::PrintBatchSettings()
{
    const MachiningSettings& m = g_MachiningSettings;
    CString line;
    line.Format(u"<入口图形 %d（D0/1/2/3 左下/右下/左上/右上），切割方向 %d（S0/1），圆引线角度 %.1f (F+角度) ，"
                u"圆引线长度 %.1f (L+长度)>",
                int(m.batchFirstCorner), int(m.batchReverse), m.batchLeadAngle * kRadToDeg, m.batchLeadLength);
    PrintLine(line);
}

std::vector<int> CZorvaView::ListBatchShapes()
{
    if (m_workerRequest.load() != 0 || g_PathHooks.listBatchShapes == nullptr)
        return {};
    g_TrailRunFlag = 1;
    return g_PathHooks.listBatchShapes(*this, m_batchOption & 0xff);
}
