#include "app/import_common.h"

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/DocumentUi.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"

ImportIdScope::ImportIdScope() : m_saved(g_UnitIdCounter)
{
    g_UnitIdCounter = 0;
}

ImportIdScope::~ImportIdScope()
{
    if (!m_keep)
        g_UnitIdCounter = m_saved;
}

void ReportImportedDrawing(const CString& path, const CUnitArray& units)
{
    FitViewToUnits(units);
    const int w = RoundHalfUp(g_DrawingExtents[1].x - g_DrawingExtents[0].x);
    const int h = RoundHalfUp(g_DrawingExtents[1].y - g_DrawingExtents[0].y);
    CString size;
    size.Format(u"尺寸：%d x %d (mm)", w, h);
    DocUi().SetPromptLine(size);
    CString line;
    line.Format(u"打开文件--%s    %s", PathFileName(path).GetString(), size.GetString());
    DocUi().PrintLine(line);
}
