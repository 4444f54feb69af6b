// Typed input while a grip is dragged (phase 3 move, 4 stretch): "d" for a
// displacement from the grip, "u" to redraw, a point or a distance that ends
// the drag, and an empty line that ends the grip edit where the drag stands.

#include <mutex>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/unit_services.h"
#include "view/CZorvaView.h"

bool CZorvaView::TypedGripInput(CDC* dc, const CString& text)
{
    CZorvaDoc* doc = GetZorvaDoc();
    if (text == u"d") {
        g_DisplacementMode = 1;
        ShowPrompt(CString(), 0);
        return true;
    }
    if (text == u"u") {
        Render(dc);
        return true;
    }
    const TypedValues t = ReadTyped(text);
    const bool stretch = g_cmdStep == kStepGripStretch;
    if (t.n < 1) {
        if (!text.IsEmpty())
            return false;
        g_cmdStep = kStepIdlePick;
        g_cmdPointCount = -1;
        if (m_gripActive && m_pPickedUnit != nullptr && doc != nullptr) {
            if (m_pPickedUnit->GetType() == 1 && m_joinedUnit != nullptr)
                doc->RecordDeleteObject(m_joinedUnit);
            doc->RecordDeleteObject(m_pPickedUnit);
        }
        PurgeDegenerateEntities(0);
        Render(dc);
        return true;
    }
    CUnit* picked = m_pPickedUnit;
    if (picked == nullptr || doc == nullptr)
        return true;
    const x_Vector point = t.n >= 2 ? x_Vector(t.v[0], t.v[1]) : TowardCursor(m_basePoint, t.v[0]);
    if (!m_gripActive) {
        SetCommand(0);
        return true;
    }
    m_secondPoint = g_DisplacementMode ? picked->edit->dragStart + point : point;
    picked->InteractiveStep(dc, this, m_secondPoint);
    if (stretch && m_joinedUnit != nullptr && picked->GetType() == 1)
        m_joinedUnit->InteractiveStep(dc, this, m_secondPoint);
    if (stretch) {
        if (picked->GetType() == 1 && m_joinedUnit != nullptr)
            doc->RecordDeleteObject(m_joinedUnit);
        doc->RecordDeleteObject(picked);
        PurgeDegenerateEntities(0);
    } else {
        picked->CommitTransform();
        m_dragDelta = m_secondPoint - picked->edit->dragStart;
        // The stored list index can be a redraw old; the record needs the real one.
        int index = -1;
        for (int i = 0; i < doc->m_unitList.GetSize() && index < 0; ++i)
            if (doc->m_unitList[i] == picked)
                index = i;
        doc->RecordTransformAt(index, m_dragDelta);
        PurgeDegenerateEntities(2);
    }
    ResetEntityStates();
    RedrawNow();
    PrintSeparator();
    m_pPickedUnit = nullptr;
    m_gripActive = 0;
    SetCommand(0);
    return true;
}
