// Prompt texts by command, step and mode, and the command names by entity
// type. The prompt column is padded to 30 (or 34) characters so that the
// typed text behind it lines up in the output list.

#include "view/prompts.h"

#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "view/ViewState.h"
#include "view/view_entities.h"

namespace {

enum class Fmt { normal, pad15, pad15Blank, wide3, wide34, fixed };

const char16_t* FormatOf(Fmt f)
{
    switch (f) {
    case Fmt::pad15: return u"%-30s  %-15s";
    case Fmt::pad15Blank: return u"%-30s  %-15s ";
    case Fmt::wide3: return u"%-30s   %s";
    case Fmt::wide34: return u"%-34s %-15s";
    default: return u"%-30s  %s";
    }
}

struct Row {
    const char16_t* text = nullptr;
    Fmt fmt = Fmt::normal;
};

// Picks the n-th text, the last one for every later n.
const char16_t* ByStep(int step, std::initializer_list<const char16_t*> texts)
{
    int i = 0;
    const char16_t* last = nullptr;
    for (const char16_t* t : texts) {
        last = t;
        if (i++ == step)
            return t;
    }
    return last;
}

int Mode(int command)
{
    return GetCommandMode(command - 1);
}

Row LineRow(int s)
{
    const int mode = Mode(kCmdLine);
    if (mode == 2 || mode == 3)
        return {s == 0 ? u"直线(L)->选择一条直线 (x,y)【取消(Esc)】" : u"直线(L)->坐标点 (x,y)或距离 (+-d) 【取消(Esc)】",
                Fmt::pad15};
    if (s == 0)
        return {u"直线(L)->第一个点 (x,y)【取消(Esc)】", Fmt::pad15};
    if (s <= 2)
        return {u"直线(L)->下一个点 (x,y) 或 @角度+长度 【放弃(U)】", Fmt::pad15};
    if (mode == 1)
        return {u"直线(L)->下一个点，@角度+长度 【放弃(U)/闭合(C)】", Fmt::pad15};
    if (mode == 0)
        return {u"直线(L)->下一个点 (x,y) 或 长度(L)【放弃(U)/闭合(C)】", Fmt::pad15Blank};
    return {};
}

Row CircleRow(int s)
{
    const int mode = Mode(kCmdCircle);
    if (s == 0)
        return {mode == 0 ? u"圆(C)->指定圆心 (x,y)【放弃(U)】" : u"圆(C)->指定第一个点 (x,y)【放弃(U)】"};
    if (s == 1)
        return {mode == 0 ? u"圆(C)->半径 (r)【放弃(U)】" : u"圆(C)->指定第二个点 (x,y) 或 长度(L) 【放弃(U)】"};
    if (mode == 2)
        return {u"圆(C)->指定第三个点或半径(+/-r)【放弃(U)】"};
    return {};
}

Row ArcRow(int s)
{
    if (s < 2)
        return {s == 0 ? u"圆弧(A)->起点 (x,y)【放弃(U)】" : u"圆弧(A)->第二个点 (x,y) 或 长度(L) 【放弃(U)】"};
    const int mode = Mode(kCmdArc);
    if (mode == 0)
        return {u"圆弧(A)->端点 (x,y)【放弃(U)】"};
    if (mode == 1)
        return {u"圆弧(A)->半径 (+/-r)【放弃(U)】"};
    if (mode == 2 || mode == 3)
        return {u"圆弧(A)->角度 (a)【放弃(U)】"};
    return {};
}

Row PolylineRow(int s, bool arcs)
{
    if (arcs)
        return {ByStep(s, {u"多段线(PL)->第一个圆弧起点 (x,y)【直线/圆弧 (L/A) 放弃(U)】",
                           u"多段线(PL)->第二个圆弧点 (x,y) 或 长度(L) 【直线/圆弧 (L/A) 放弃(U)】",
                           u"多段线(PL)->圆弧半径 (+/-r)【直线/圆弧 (L/A) 放弃(U)】"})};
    if (s == 0)
        return {u"多段线(PL)->第一个直线点 (x,y)  【直线/圆弧 (L/A) 回车/右键/确定】", Fmt::pad15};
    if (s <= 2)
        return {u"多段线(PL)->下一个直线点 (x,y) 或 长度(L)【直线/圆弧 (L/A) 放弃(U)】", Fmt::pad15};
    return {u"多段线(PL)->下一个直线点 (x,y) 或 长度(L) 【直线/圆弧 (L/A) 放弃(U)/闭合(C)】", Fmt::pad15Blank};
}

Row AuxLineRow(int s)
{
    if (Mode(kCmdAuxLine) == 3)
        return s == 0 ? Row{u"中心线标注(DH)->指定直线、圆、弧或多边形 【放弃(U)】", Fmt::pad15Blank}
               : s == 1 ? Row{u"中心线标注(DH)->选择另一条直线  【放弃(U)】", Fmt::pad15}
                        : Row{};
    return s == 0 ? Row{u"划线标注(DH)->第一个点 (x,y)【取消(Esc)】", Fmt::pad15}
                  : Row{u"划线标注(DH)->下一个点 (x,y)【放弃(U)】", Fmt::pad15Blank};
}

Row BreakRow(int s)
{
    const int mode = Mode(kCmdBreak);
    if (mode == 0)
        return {u"打断 (TP)->请选择对象【放弃(U)】"};
    if (mode == 1)
        return {s == 0 ? u"等分 (TP)->请选择对象【放弃(U)】" : u"等分 (TP)->请输入等分数量（n）【放弃(U)】"};
    return {s == 0 ? u"等距拆分 (TP)->请选择对象【放弃(U)】" : u"等距拆分 (TP)->请输入等距拆分长度（L）【放弃(U)】"};
}

// Rows whose text is one fixed string per step; steps past the list give
// nothing unless the last entry stands for "or more".
Row SimpleRow(const PromptInputs& in)
{
    const int s = in.subStep;
    auto upTo = [s](std::initializer_list<const char16_t*> texts) -> Row {
        return {ByStep(s, texts)};
    };
    auto exactly = [s](std::initializer_list<const char16_t*> texts) -> Row {
        return s >= 0 && s < static_cast<int>(texts.size()) ? Row{texts.begin()[s]} : Row{};
    };
    switch (in.command) {
    case 3:
        return {s == 0 ? u"四边形(RL)->起点坐标 (x,y)【放弃(U)】" : u"四边形(RL)->长度和宽度 (w,h)【放弃(U)】"};
    case 5:
        return upTo({u"椭圆(EL)->端点 (x,y)【放弃(U)】", u"椭圆(EL)->另一端点 (x,y)【放弃(U)】",
                     u"椭圆(EL)->半轴长度 (r)【放弃(U)】"});
    case 6:
        return upTo({u"椭圆弧(ELA)->端点 (x,y) 【放弃(U)】", u"椭圆弧(ELA)->另一个端点 (x,y) 【放弃(U)】",
                     u"椭圆弧(ELA)->半轴长度 (r) 【放弃(U)】", u"椭圆弧(ELA)->起始角度 (a1) 【放弃(U)】",
                     u"椭圆弧(ELA)->结束角度 (a2) 【放弃(U)】"});
    case 11:
        return s == 0 ? Row{u"曲线(SPL)->第一点 (x,y)【回车/右键/确定】"}
               : s <= 2 ? Row{u"曲线(SPL)->下一点 (x,y)【放弃(U)】"}
                        : Row{u"曲线(SPL)->下一点 (x,y)【放弃(U)/闭合(C)】"};
    case 12:
        return exactly({u"文字标注(DT)->坐标点 (x,y)【放弃(U)】", u"文字标注(DT)->输入文字【放弃(U)】"});
    case 15:
        return upTo({u"尺寸标注(DL)->第一个点 (x,y)【放弃(U)】", u"尺寸标注(DL)->第二个点 (x,y)【放弃(U)】",
                     u"尺寸标注(DL)->选择偏移点 (x,y) 【放弃(U)】"});
    case 16:
        return upTo({u"线性标注(DG)->第一个点 (x,y)【放弃(U)】", u"线性标注(DG)->第二个点 (x,y)【放弃(U)】",
                     u"线性标注(DG)->选择偏移点 (x,y) 【放弃(U)】"});
    case 17:
        return in.subFlag == 1
                   ? exactly({u"半径标注(DR)->请选择一个圆或圆弧【放弃(U)】", u"半径标注(DR)->选择偏移点 (x,y) 【放弃(U)】"})
                   : exactly({u"直径标注(DD)->请选择一个圆【放弃(U)】", u"直径标注(DD)->选择偏移点 (x,y) 【放弃(U)】"});
    case 18:
        return exactly({u"弧长标注(DC)->请选择圆弧【放弃(U)】"});
    case 19:
        return exactly({u"角度标注(DA)->请选择圆弧或直线【放弃(U)】", u"角度标注(DA)->请选择第二条直线【放弃(U)】"});
    case 53:
        if (s == 0)
            return {u"移动 (TM)->请选择对象【回车/右键/确定/放弃(U)】"};
        if (s == 1)
            return {in.displacement ? u"移动 (TM)->位移 (x,y) 或 偏移距离 (L)【放弃(U)】"
                                    : u"移动 (TM)->偏移量 (x,y) 或 基点 P(x,y)【位移(D)/放弃(U)】"};
        return {in.displacement ? u"移动 (TM)->位移 (x,y)【放弃(U)】"
                                : u"移动 (TM)->下一个偏移点 (x,y) 或 偏移量 (d)【放弃(U)】"};
    case 55:
        return {u"修剪 (TR)->请选择对象【放弃(U)】"};
    case 56:
        return BreakRow(s);
    case 57:
        return upTo({u"旋转 (TO)->请选择对象【回车/右键/确定/放弃(U)】", u"旋转 (TO)->第一个基点 (x,y) 或 角度 (a) 【放弃(U)】",
                     u"旋转 (TO)->第二个点 (x,y) 或 旋转角度 (a) 【放弃(U)】"});
    case 58:
        return upTo({u"缩放 (TS)->请选择对象,输入比例 (x) 【回车/右键/确定/放弃(U)】", u"缩放 (TS)->基点 (x,y) 或 比例 (x) 【放弃(U)】",
                     u"缩放 (TS)->缩放比例 (x)【放弃(U)】"});
    case 59:
        return exactly({u"延伸 (TL)->选择边界的边 【回车/右键/确定/放弃(U)】", u"延伸 (TL)->选择要延伸的对象 【放弃(U)】"});
    case 60:
        return {s == 0 ? u"齐边 (TE)->请选择基线【右键/回车(确定)/放弃(U)】" : u"齐边 (TE)->请选择对象【放弃(U)】"};
    case 62:
        return {u"图形阵列 (TZ)->选择实体【放弃(U)】"};
    case 64:
        return upTo({u"圆切线 (TC)->选择第一个对象 【放弃(U)】", u"圆切线 (TC)->选择第二个对象 【放弃(U)】",
                     u"圆切线 (TC)->选择圆切线点 【放弃(U)】"});
    case 65:
        return {u"粘贴->指定插入点 (x,y) 或 偏移量 (L) "};
    case 68:
        return {u"分解 (TX)->选择需要分解的对象,按【回车】键确认", Fmt::wide34};
    case 69:
        return {u"擦除 (TD)->选择需要删除的对象,按【回车】键确认", Fmt::wide34};
    case 71:
        return {u"原点偏移(TH)->输入偏移相对值 (x,y)", Fmt::pad15};
    case 72:
        return {u"坐标点查询->选择坐标点", Fmt::fixed};
    case 73:
        return {u"两点距离->选择第两个坐标点", Fmt::fixed};
    case 74:
        return {u"周长查询->选择实线", Fmt::fixed};
    case 75:
        return {u"角度查询->选择(圆弧/直线)", Fmt::fixed};
    case 76:
        return {u"周长查询->选择(圆/圆弧/椭圆/多边形)", Fmt::fixed};
    default:
        return {};
    }
}

CString Apply(const Row& row, const CString& extra)
{
    CString line;
    if (row.text == nullptr)
        return line;
    if (row.fmt == Fmt::fixed)
        return CString(row.text);
    line.Format(FormatOf(row.fmt), row.text, extra.GetString());
    return line;
}

CString DirectionList(int n)
{
    CString list;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            list += u",";
        list.AppendFormat(u"%d", i);
    }
    return list;
}

CString PathStepText(const PromptInputs& in)
{
    const int s = in.subStep;
    CString text;
    const CString dirs = DirectionList(in.directionCount);
    auto dir = [&](const char16_t* f) {
        text.Format(f, dirs.GetString());
        return text;
    };
    if (in.cutMode == 2) {
        switch (s) {
        case 0: return u"轨迹生成->请选择下表面穿丝点 (x,y) 【放弃(U) / 修改补偿(F)】";
        case 1: case 6: return u"轨迹生成->请选择切入点 (x,y) 【放弃(U)】";
        case 2: case 7: return dir(u"轨迹生成->请选择切割方向 (%s)【放弃(U)】");
        case 3: case 8: return u"轨迹生成->请选择结束点 (x,y) 【放弃(U)】";
        case 4: case 9: return u"轨迹生成->请选择补偿方向(0,1)【放弃(U) / 自动损丝补偿修正(E)】";
        case 5: return u"轨迹生成->请选择上表面穿丝点 (x,y) 【放弃(U) / 修改补偿(F)】";
        case 10: return u"轨迹生成->选择轨迹原点或【回车/右键】默认同步点";
        default: return {};
        }
    }
    if (in.cutMode == 3) {
        switch (s) {
        case 0: return u"轨迹生成->请选择穿丝点 (x,y) 【放弃(U)】";
        case 1: return u"轨迹生成->请选择切入点 (x,y) 【放弃(U)】";
        case 2: return dir(u"轨迹生成->请选择方向 (%s)【放弃(U)】");
        case 3: return u"轨迹生成->请选择结束点 (x,y) 【放弃(U)】";
        case 4:
            return in.taperInput ? u"轨迹生成->请选择实线输入正负角度(+/- a) 【回车/右键/确定】"
                                 : u"轨迹生成->请选择补偿方向(0,1)【放弃(U) / 自动损丝补偿修正(E)】";
        default: return {};
        }
    }
    // The inclined-top mode asks as the normal one.
    if (in.cutMode == 0 || in.cutMode == 1 || in.cutMode == 4) {
        switch (s) {
        case 0: return u"轨迹生成->请选择穿丝点 (x,y) 【放弃(U) / 批量生成(M) / 修改补偿(F)】";
        case 1: return u"轨迹生成->请选择切入点 (x,y) 【放弃(U) / 批量生成(M)】";
        case 2: return dir(u"轨迹生成->请选择切割方向(%s)【放弃(U) / 批量生成(M)】");
        case 3: return u"轨迹生成->请选择结束点 (x,y) 【放弃(U) / 批量生成(M)】";
        case 4: return u"轨迹生成->请选择补偿方向(0,1)【放弃(U) / 批量生成(M) / 自动损丝补偿修正(E)】";
        default: return {};
        }
    }
    return {};
}

PromptLine PathPrompt(const PromptInputs& in, const CString& extra)
{
    PromptLine out;
    if (in.batchContourPick) {
        out.text.Format(u"批量轨迹生成->第二步选择补偿方向 (内孔、外形) 0/1  %s", extra.GetString());
        return out;
    }
    if (in.compensationEdit) {
        out.text = Apply({u"轨迹生成->请选择图形中某一段起点修改补偿，输入补偿量  【退出设定(F)】"}, extra);
        return out;
    }
    const CString text = PathStepText(in);
    if (!text.IsEmpty())
        out.text = Apply({text.GetString()}, extra);
    return out;
}

// Rows that fill in settings values or pre-fill the command edit.
bool OwnRow(const PromptInputs& in, const CString& extra, PromptLine& out)
{
    const int s = in.subStep;
    CString text;
    switch (in.command) {
    case 10:
        if (s == 0) {
            out.text.Format(u"多边形(POL)->边的数目<%d> %s", g_PolygonSides, extra.GetString());
            out.prefill.Format(u"%d", g_PolygonSides);
        } else {
            out.text = Apply({s == 1 ? u"多边形(POL)->第一个点(x,y)"
                                     : u"多边形(POL)->下一个点(x,y) 或 长度 (L) 或 L+边长  【放弃(U)】",
                              Fmt::wide3},
                             extra);
        }
        return true;
    case 23:
        if (s == 0) {
            out.text.Format(u"波浪线(AS)->波峰值<%.4f> %s 【回车/右键/确定】", g_WavePeak, extra.GetString());
            out.prefill = FormatNumber4(g_WavePeak);
        } else {
            out.text = Apply({s == 1 ? u"波浪线(AS)->第一个点(x,y)" : u"波浪线(AS)->下一个点(x,y) 或 长度 (L) 【放弃(U)】",
                              Fmt::wide3},
                             extra);
        }
        return true;
    case 22:
        text.Format(u"轨迹三维->轮廓线数量 %d (范围10--360),非锥度三维模式 %d  (值0/1)", g_Path3DContours,
                    static_cast<int>(g_Path3DFlat));
        out.text = Apply({text.GetString()}, extra);
        return true;
    case 54:
        if (s >= 3) {
            out.text = Apply({u"镜像 (TI)->是否复制 (Y/N)【回车/右键(确定)/放弃(U)】"}, extra);
            out.prefill = u"Y";
            out.prefillAlways = true;
        } else {
            out.text = Apply({ByStep(s, {u"镜像 (TI)->请选择对象【回车/右键/确定/放弃(U)】", u"镜像 (TI)->第一个点 (x,y)【放弃(U)】",
                                         u"镜像 (TI)->第二个点 (x,y) 或 角度 (a) 【放弃(U)】"})},
                             extra);
        }
        return true;
    case 61:
        if (s == 0)
            text.Format(u"圆角 (TF)->选择第一个实线 或 半径(R) %.4f 【放弃(U)】", g_FilletRadius);
        else if (s == 1)
            text = u"圆角 (TF)->选择第二个实线 【放弃(U)】";
        out.text = text.IsEmpty() ? CString() : Apply({text.GetString()}, extra);
        return true;
    case 63:
        if (s == 0)
            text.Format(u"倒角 (TA)->选择第一个实线 或 距离(L1) %.4f,距离(L2)%.4f 【放弃(U)】", g_ChamferDist1, g_ChamferDist2);
        else if (s == 1)
            text = u"倒角 (TA)->选择第二个实线 【放弃(U)】";
        out.text = text.IsEmpty() ? CString() : Apply({text.GetString()}, extra);
        return true;
    case 80:
        if (s == 0) {
            text.Format(u"图形偏移(TW)->输入偏移量(L)  %.4f  【回车/右键/确定】", g_OffsetDistance);
            out.prefill = FormatNumber4(g_OffsetDistance);
            out.prefillAlways = true;
        } else if (s == 1) {
            text.Format(u"图形偏移(TW)->偏移量：%.4f ，请选择偏移对象", g_OffsetDistance);
        } else if (s == 2) {
            text = u"图形偏移(TW)->请选择偏移方向 或 方向(0/1)";
        }
        out.text = text.IsEmpty() ? CString() : Apply({text.GetString(), Fmt::pad15}, extra);
        return true;
    case 66:
        out = PathPrompt(in, extra);
        return true;
    default:
        return false;
    }
}

PromptLine CommandPrompt(const PromptInputs& in, const CString& extra)
{
    PromptLine out;
    if (OwnRow(in, extra, out))
        return out;
    const int s = in.subStep;
    Row row;
    switch (in.command) {
    case 1: row = LineRow(s); break;
    case 7: row = CircleRow(s); break;
    case 8: row = ArcRow(s); break;
    case 9: row = PolylineRow(s, in.polyArcMode); break;
    case 20: row = AuxLineRow(s); break;
    case 24:
        row = s == 0 ? Row{u"设置对刀点(MM)->开始点 (x,y)【放弃(U)】", Fmt::pad15}
              : s == 1 ? Row{u"设置对刀点(MM)->结束点 (x,y)【放弃(U)】", Fmt::pad15}
                       : Row{};
        break;
    case 25: row = {u"坐标标注(DP)-> --", Fmt::pad15}; break;
    case 26:
        row = s == 0 ? Row{u"中心线(CL)->指定直线、圆、弧或多边形 【放弃(U)】", Fmt::pad15Blank}
              : s == 1 ? Row{u"中心线(CL)->选择另一条直线  【放弃(U)】", Fmt::pad15}
                       : Row{};
        break;
    default: row = SimpleRow(in); break;
    }
    out.text = Apply(row, extra);
    return out;
}

PromptLine GripPrompt(const PromptInputs& in, const CString& extra)
{
    Row row;
    if (in.cmdStep == kStepGripMove)
        row = {in.displacement ? u"移动->位移 (x1,y1)或 偏移量 (L) 【放弃(U)】" : u"移动->基点 (x1,y1)或 偏移量 (L) 【位移(D)/放弃(U)】"};
    else
        row = {in.displacement ? u"拉伸->位移 (x1,y1)【放弃(U)】" : u"拉伸->基点 (x1,y1)【位移(D)/放弃(U)】"};
    return {Apply(row, extra), {}, false};
}

} // namespace

PromptLine BuildPrompt(const PromptInputs& in, const CString& typed)
{
    const CString extra = CString(u" ：") + typed;
    if (in.cmdStep == kStepPointInput || in.cmdStep == kStepSelect)
        return CommandPrompt(in, extra);
    if (in.cmdStep == kStepGripMove || in.cmdStep == kStepGripStretch)
        return GripPrompt(in, extra);
    return {};
}

CString CommandTitle(int type, int subType)
{
    switch (type) {
    case 1: return u"直线(L)->";
    case 3: return u"四边形(RL)->";
    case 5: return u"椭圆(EL)->";
    case 6: return u"椭圆弧(ELA)->";
    case 7: return u"圆(C)->";
    case 8: return u"圆弧(A)->";
    case 9: return u"多段线(PL)->";
    case 10: return u"多边形(POL)->";
    case 11: return u"曲线(SPL)->";
    case 12: return u"文字标注(DT)->";
    case 15: return u"尺寸标注(DL)->";
    case 16: return u"线性标注(DG)->";
    case 17: return subType == 0 ? u"直径标注(DD)->" : subType == 1 ? u"半径标注(DR)->" : u"";
    case 18: return u"弧长标注(DC)->";
    case 19: return u"角度标注(DA)->";
    case 24: return u"轨迹对刀点(MM)->";
    case 25: return u"坐标标注(DP)->";
    default: return {};
    }
}

CString CommandShortName(int type, int subType)
{
    switch (type) {
    case 1: return u"直线";
    case 3: return u"四边形";
    case 5: return u"椭圆";
    case 6: return u"椭圆弧";
    case 7: return u"圆";
    case 8: return u"圆弧";
    case 9: return u"多段线";
    case 10: return u"多边形";
    case 11: return u"曲线";
    case 12: return u"文字标注";
    case 15: return u"尺寸标注";
    case 16: return u"线性标注";
    case 17: return subType == 0 ? u"直径标注" : subType == 1 ? u"半径标注" : u"";
    case 18: return u"弧长标注";
    case 19: return u"角度标注";
    case 25: return u"坐标标注";
    case 66: return u"加工轨迹";
    default: return {};
    }
}
