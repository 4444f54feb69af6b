// Compound shapes: the builder follows the cursor, and completion replaces
// it by line pieces of one new group (pieceOf 1); the drawing never holds a
// rectangle or polygon entity.
//   3 rectangle: two opposite corners.
//   10 polygon: "中点+角度" the centre then a vertex; "起点+角度" the two
//      ends of the first edge; the side count is typed in the command edit.

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CLine.h"
#include "geometry/CPolygon.h"
#include "geometry/CRectangle.h"
#include "geometry/GeometryState.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

void CZorvaView::StepRectangle(CDC* dc)
{
    Render(dc);
    ++g_UnitIdCounter;
    auto* rect = new CRectangle();
    rect->inputPoints[0] = rect->inputPoints[1] = m_inputPoint;
    NewFloating(rect);
    m_markInputPoint = 1;
}

void CZorvaView::StepPolygon(CDC*)
{
    if (m_subStep != 0)
        return;
    ++g_UnitIdCounter;
    auto* polygon = new CPolygon();
    polygon->inputPoints[0] = polygon->inputPoints[1] = m_inputPoint;
    polygon->keyPoints.RemoveAll();
    NewFloating(polygon);
    m_markInputPoint = 1;
    ++m_subStep;
    if (g_commandBar != nullptr)
        g_commandBar->SetDlgItemText(kIdCommandEdit, CString());
    ++m_subStep;
    m_basePoint = m_secondPoint = m_inputPoint;
}

// The closed vertex list of a completed builder as line pieces.
void CZorvaView::PlaceCompoundPieces(const CArray<x_Vector>& vertices)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    m_groupBase = GetMaxGroupNumber();
    for (int i = 1; i < vertices.GetSize(); ++i) {
        ++g_UnitIdCounter;
        auto* edge = new CLine(vertices[i - 1].x, vertices[i - 1].y, vertices[i].x, vertices[i].y);
        edge->workGeometry = edge->geometry;
        edge->group = m_groupBase + 1;
        edge->pieceOf = 1;
        edge->complete = 1;
        doc->AppendUnit(edge);
    }
    // The builder's commit marked it placed, but it never enters the list.
    delete m_pFloatUnit;
    m_pFloatUnit = nullptr;
}

bool CZorvaView::PlaceShapeAsPieces()
{
    CUnit* unit = m_pFloatUnit;
    if (g_curCommand == kCmdRectangle) {
        m_basePoint = unit->inputPoints[0];
        m_secondPoint = unit->inputPoints[1];
        const double x1 = m_basePoint.x, y1 = m_basePoint.y, x2 = m_secondPoint.x, y2 = m_secondPoint.y;
        CArray<x_Vector> corners;
        for (const x_Vector& c : {x_Vector(x1, y1), x_Vector(x2, y1), x_Vector(x2, y2), x_Vector(x1, y2),
                                  x_Vector(x1, y1)})
            corners.Add(c);
        PlaceCompoundPieces(corners);
        return true;
    }
    if (g_curCommand == kCmdPolygon) {
        const CArray<x_Vector> vertices = unit->keyPoints;
        PlaceCompoundPieces(vertices);
        return true;
    }
    return false;
}
