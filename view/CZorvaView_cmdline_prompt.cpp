// The prompt line of the running command in the output list, and the
// one-line description of a picked entity.

#include <cmath>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "geometry/CDimension.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "view/CZorvaView.h"
#include "view/path_hooks.h"
#include "view/prompts.h"

void PrefillCommandEdit(const CString& text)
{
    if (g_commandBar == nullptr)
        return;
    g_commandBar->SetDlgItemText(kIdCommandEdit, text);
    if (auto* edit = dynamic_cast<CEdit*>(g_commandBar->GetDlgItem(kIdCommandEdit))) {
        edit->SetSel(0, -1);
        edit->SetFocus();
    }
}

namespace {

CListBox* OutputList()
{
    return g_commandBar ? dynamic_cast<CListBox*>(g_commandBar->GetDlgItem(kIdOutputList)) : nullptr;
}

double Degrees(double radians)
{
    return radians * 180.0 / kPi;
}

double FlatLength(const CUnit& u)
{
    double sum = 0.0;
    for (int i = 1; i < u.flatPoints.GetSize(); ++i)
        sum += x_Vector::Distance(u.flatPoints[i - 1], u.flatPoints[i]);
    return sum;
}

} // namespace

void CZorvaView::ShowPrompt(const CString& extra, int mode)
{
    PromptInputs in;
    in.command = g_curCommand;
    in.cmdStep = g_cmdStep;
    in.subStep = m_subStep;
    in.subFlag = g_cmdSubFlag;
    in.displacement = g_DisplacementMode != 0;
    in.polyArcMode = m_polyArcMode != 0;
    in.compensationEdit = m_compensationEditMode != 0;
    in.batchContourPick = g_batchContourPick != 0;
    in.cutMode = g_CutMode;
    in.directionCount = static_cast<int>(g_TrailDirections.GetSize());
    in.taperInput = m_path.taperStep != 0;
    const PromptLine line = BuildPrompt(in, extra);
    CListBox* list = OutputList();
    if (mode == 1 && list != nullptr && list->GetCount() > 0)
        list->DeleteString(list->GetCount() - 1);
    else if (mode == 2)
        PrintLine(CString(), 1);
    if (!line.text.IsEmpty())
        PrintLine(line.text, 0);
    if (!line.prefill.IsEmpty() && (line.prefillAlways || mode == 2))
        PrefillCommandEdit(line.prefill);
    if (g_commandBar != nullptr)
        if (CWnd* edit = g_commandBar->GetDlgItem(kIdCommandEdit))
            edit->SetFocus();
    ArmPendingAction(kActionFocusEdit, 2);
}

void CZorvaView::DescribeEntity()
{
    CUnit* p = m_pPickedUnit;
    if (p == nullptr)
        return;
    int type = p->GetType();
    if (type == 1 && p->pieceOf == 1)
        type = 10;
    else if (type == 1 && p->pieceOf == 2)
        type = 9;
    const CString name = CommandTitle(type, type == 17 ? p->radiusMode : 0);
    const char16_t* n = name.GetString();
    CString text;
    if (p->role == kRoleBlockMember || p->blockMember) {
        text.Format(u"块参考->编号：%d", p->group);
    } else if (p->GetType() == 66 && g_PathHooks.summary != nullptr) {
        const PathSummary s = g_PathHooks.summary(*p);
        text.Format(u"加工轨迹->编号：%d ，类型：%d ，切割次数：%d ，总长：%.3fmm ，补偿：%.4f ，厚度：%.3f ，锥度：%.4f°",
                    static_cast<int>(g_SelectedTrailIds.GetSize()), s.cutMode, s.cutCount, s.length,
                    s.compensation, s.thickness, s.taperAngle);
    } else if (p->gearKind != 0) {
        if (p->gearKind == 1)
            text.Format(u"标准直齿轮->齿数：%d ", p->toothCount);
        else if (p->gearKind == 2)
            text.Format(u"标准内齿轮->齿数：%d ", p->toothCount);
        else if (p->gearKind == 3)
            text.Format(u"条形齿轮->齿数：%d ", p->toothCount);
    } else {
        text = DescribeByType(*p, type, n);
    }
    PrintLine(text, 0);
}

CString CZorvaView::DescribeByType(CUnit& p, int type, const char16_t* n)
{
    CString text;
    switch (type) {
    case 1: {
        const x_Vector a = p.GetStartPoint(), b = p.GetEndPoint();
        text.Format(u"%s (%.4f,%.4f   %.4f,%.4f)  长度：%.4f mm  角度：%.4f°", n, a.x, a.y, b.x, b.y,
                    x_Vector::Distance(a, b), Degrees(x_Vector::AngleTo(a, b)));
        break;
    }
    case 3: {
        const RectangleRecord& r = p.geometry.rectangle;
        text.Format(u"%s  坐标1(%.4f , %.4f) 坐标2(%.4f , %.4f)", n, r.corner1.x, r.corner1.y, r.corner2.x, r.corner2.y);
        break;
    }
    case 5:
    case 6: {
        const EllipseRecord& e = p.geometry.ellipse;
        const double axis = std::hypot(e.majorAxis.x, e.majorAxis.y);
        const double angle = Degrees(x_Vector::AngleTo(x_Vector(), e.majorAxis));
        text.Format(u"%s 中点(%.4f , %.4f) 轴长：%.4f 比例：%.4f 角度：%.4f°", n, e.centre.x, e.centre.y, axis,
                    e.axisRatio, angle);
        if (type == 6)
            text.AppendFormat(u"弧长：%.4f A1：%.4f°A2：%.4f°", FlatLength(p), Degrees(e.startParam),
                              Degrees(e.endParam));
        break;
    }
    case 7: {
        const x_Vector c = p.geometry.circle.centre;
        const double r = p.geometry.circle.radius;
        text.Format(u"%s 圆心(%.4f , %.4f) 半径：%.4f 周长：%.4f mm", n, c.x, c.y, r, 2 * kPi * r);
        break;
    }
    case 8: {
        const ArcRecord& a = p.geometry.arc;
        text.Format(u"%s 圆心(%.4f , %.4f) 半径：%.4f 弧长：%.4f  A1：%.4f° A2：%.4f°", n, a.centre.x, a.centre.y,
                    a.radius, p.GetLength(), Degrees(a.startAngle), Degrees(a.endAngle));
        break;
    }
    case 9:
    case 10: {
        int count = 0;
        double sum = 0.0;
        CZorvaDoc* doc = GetZorvaDoc();
        for (int i = 0; doc != nullptr && p.group > 0 && i < doc->m_unitList.GetSize(); ++i) {
            CUnit* u = doc->m_unitList[i];
            if (!u->deleted && u->GetType() == p.GetType() && u->group == p.group) {
                ++count;
                sum += x_Vector::Distance(u->GetStartPoint(), u->GetEndPoint());
            }
        }
        text.Format(type == 9 ? u"%s 线段数：%d  总长：%.4f mm" : u"%s  边数量：%d 周长：%.4f mm", n, count, sum);
        break;
    }
    case 11:
        text.Format(u"%s 控制点：%d  总长：%.4f mm", n, static_cast<int>(p.nodes.GetSize()), FlatLength(p));
        break;
    case 24: {
        const x_Vector a = p.GetStartPoint(), b = p.GetEndPoint();
        text.Format(u"%s (开始点：%.4f,%.4f   结束点：%.4f,%.4f)", n, a.x, a.y, b.x, b.y);
        break;
    }
    case 25:
        if (auto* ordinate = dynamic_cast<CDimension*>(&p))
            text.Format(u"%s 值：%.2f", n, ordinate->Current().value);
        break;
    default:
        break;
    }
    return text;
}
