// Typed input of command 66 (path generation) and its right button: the
// compensation-edit sub-mode, abandoning, the marker index of the
// direction and side steps, the taper angles, the default origin of a
// two-profile path, and typed points.

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/MachiningSettings.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "view/CZorvaView.h"

namespace {

// Selected, so that the next value typed replaces it; before, it was
// appended to the shown one ("0.1" and "0.3" read as 0.1).
void FillEdit(double value)
{
    PrefillCommandEdit(FormatNumber4(value));
}

bool IsIndexText(const CString& text)
{
    if (text.IsEmpty())
        return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    return true;
}

} // namespace

bool CZorvaView::TypedPathInput(CDC* dc, const CString& text)
{
    const TypedValues t = ReadTyped(text);
    const int s = m_subStep;
    if (m_compensationEditMode) {
        if (text == CString(u"f")) {
            m_compensationEditMode = 0;
        } else if (t.n >= 1) {
            bool any = false;
            for (CUnit* u : g_pDoc->m_unitList)
                if (!u->deleted && u->selected && u->role == kRoleDrawing) {
                    u->compensation = t.v[0];
                    any = true;
                }
            if (any) {
                m_compensationEditValue = t.v[0];
                Render(dc);
            }
        } else {
            return false;
        }
        ShowPrompt(CString(), 0);
        if (m_compensationEditMode)
            FillEdit(m_compensationEditValue);
        return true;
    }
    if (text == CString(u"f")) {
        if (s != 0 && s != 5)
            return false;
        m_compensationEditValue = g_MachiningSettings.compensation;
        m_compensationEditMode = 1;
        ShowPrompt(CString(), 1);
        FillEdit(m_compensationEditValue);
        return true;
    }
    if (text == CString(u"e")) {
        if (s != 3 && s != 4 && s != 9 && s != 10)
            return false;
        if (g_WearCorrectionMode)
            PrintLine(CString(u"#不能再次操作"));
        else
            ArmPendingAction(kActionWearDialog, 1);
        return true;
    }
    if (text == CString(u"u")) {
        SetCommand(0);
        return true;
    }
    if (s == 10) {
        m_cursorPoint = m_path.pickPointsLower[0];
        StepCommand(dc, -1);
        return true;
    }
    if (s == 4 && g_CutMode == 3 && m_path.taperStep == 1) {
        if (text.IsEmpty()) {
            m_path.taperStep = 2;
            StepCommand(dc, -1);
            return true;
        }
        if (t.n < 1)
            return false;
        for (CUnit* u : g_pDoc->m_unitList)
            if (!u->deleted && u->selected && u->role == kRoleDrawing) {
                u->taperAngle = t.v[0];
                break;
            }
        Render(dc);
        ShowPrompt(CString(), 0);
        return true;
    }
    if (s == 2 || s == 7 || s == 4 || s == 9) {
        const int count = static_cast<int>(g_TrailDirections.GetSize());
        if (!IsIndexText(text) || t.n != 1 || t.v[0] >= count)
            return false;
        StepCommand(dc, static_cast<int>(t.v[0]));
        return true;
    }
    if (t.n >= 2) {
        m_cursorPoint = x_Vector(t.v[0], t.v[1]);
        StepCommand(dc, -1);
        return true;
    }
    return false;
}

// The right button of command 66: the default origin of step 10, the end
// of the taper-angle input; any other step abandons the command.
bool CZorvaView::PathRightButton(CDC* dc)
{
    CZorvaView& view = *this;
    if (view.m_workerRequest.load() != 0) {
        view.PrintLine(CString(u"#请等待线程处理完成..."));
        return true;
    }
    if (view.m_subStep == 10) {
        view.m_cursorPoint = view.m_path.pickPointsLower[0];
        view.StepCommand(dc, -1);
        return true;
    }
    if (view.m_subStep == 4 && g_CutMode == 3 && view.m_path.taperStep == 1) {
        view.m_path.taperStep = 2;
        view.StepCommand(dc, -1);
        return true;
    }
    return false;
}
