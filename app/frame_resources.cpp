#include "app/frame_resources.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/afx_ids.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resources.h"

#include <utility>

namespace {

CString S(const char16_t* text) { return CString(text); }

using menu::Item;
using menu::Popup;
using menu::Separator;

// The view's right-button popup at rest, over a selection.
std::vector<MenuSpec> RightButtonMenu()
{
    return {Popup(CString(), {
        Item(S(u"属性"), 65011), Separator(), Item(S(u"删除"), 32966), Separator(),
        Item(S(u"复制"), ID_EDIT_COPY), Item(S(u"粘贴"), ID_EDIT_PASTE), Item(S(u"移动"), 32967), Separator(),
        Item(S(u"偏移"), 33014), Item(S(u"旋转"), 32974), Item(S(u"镜像"), 32970), Item(S(u"缩放"), 32973),
        Item(S(u"等分"), 33068), Separator(), Item(S(u"阵列"), 32978)})};
}

std::vector<MenuSpec> MainMenu()
{
    return {
        Popup(S(u"文件(&F)"), {
            Item(S(u"新建(&N)\tCtrl+N"), ID_FILE_NEW), Item(S(u"打开(&O)...\tCtrl+O"), 32808),
            Item(S(u"保存(&S)\tCtrl+S"), ID_MENU_SAVE), Item(S(u"另存为(&A)..."), 32926), Separator(),
            Item(S(u"退出(&X)"), ID_APP_EXIT)}),
        Popup(S(u"编辑(&E)"), {
            Item(S(u"撤消(&U)\tCtrl+Z"), 32788), Item(S(u"恢复(&K)\tCtrl+Y"), 32790), Separator(),
            Item(S(u"剪切(&T)\tCtrl+X"), ID_EDIT_CUT), Item(S(u"复制(&C)\tCtrl+C"), ID_EDIT_COPY),
            Item(S(u"粘贴(&P)\tCtrl+V"), ID_EDIT_PASTE), Separator(),
            Popup(S(u"轨迹三维(&W)"), {Item(S(u"三维简单轮廓线"), 32949), Item(S(u"三维仿真轮廓线"), 32950)}),
            Popup(S(u"十字标线(&U)"), {Item(S(u"开"), 32989), Item(S(u"关"), 32990)}), Separator(),
            Popup(S(u"左工具栏样式(T)"), {Item(S(u"图标样式(&O)"), 33018), Item(S(u"按键样式(B)"), 33019)}),
            Popup(S(u"使用右键菜单(M)"), {Item(S(u"开"), 33072), Item(S(u"关"), 33073)}), Separator(),
            Item(S(u"颜色配置(&R)"), 32858), Item(S(u"实线属性(&A)"), 32855), Separator(),
            Item(S(u"恢复默认设置(&S)"), 33012), Separator(), Item(S(u"显示轨迹(&S)"), 33031), Separator(),
            Item(S(u"删除轨迹(&D)"), 32942)}),
        Popup(S(u"绘制(&W)"), {
            Popup(S(u"基本曲线(&B)"), {
                Item(S(u"直线(&L)"), 32881), Item(S(u"多段线(&P)"), 32908), Item(S(u"曲线(&S)"), 32909),
                Item(S(u"圆(&C)"), 32910), Item(S(u"圆弧(&A)"), 32911), Item(S(u"四边形(&R)"), 32912),
                Item(S(u"多边形(&M)"), 32913), Item(S(u"椭圆(&E)"), 32914), Item(S(u"椭圆弧(&Q)"), 32915),
                Item(S(u"中心线(&V)"), 33025)}),
            Popup(S(u"高级曲线(&A)"), {Item(S(u"波浪线(&S)"), 32944), Item(S(u"公式曲线(&Z)"), 32946)}),
            Popup(S(u"工程标注(&D)"), {
                Item(S(u"文字标注(&T)"), 32870), Separator(), Item(S(u"尺寸标注(&L)"), 32868),
                Item(S(u"线性标注(&G)"), 32869), Separator(), Item(S(u"直径标注(&D)"), 32872),
                Item(S(u"半径标注(&R)"), 32873), Item(S(u"角度标注(&A)"), 32877), Item(S(u"弧长标注(&C)"), 32874),
                Item(S(u"划线标注(&H)"), 32924)}),
            Separator(),
            Popup(S(u"工程编辑(&T)"), {
                Item(S(u"擦除(&D)"), 32966), Item(S(u"移动(&M)"), 32967), Separator(), Item(S(u"修剪(&R)"), 32968),
                Item(S(u"打断/等分(P)"), 32969), Item(S(u"镜像(&I)"), 32970), Item(S(u"圆角(&F)"), 32971),
                Item(S(u"倒角(&A)"), 32972), Item(S(u"缩放(&S)"), 32973), Item(S(u"旋转(&O)"), 32974),
                Item(S(u"延伸(&L)"), 32975), Item(S(u"齐边(&E)"), 32976), Item(S(u"分解(&X)"), 32979), Separator(),
                Item(S(u"圆切线(&C)"), 32977), Item(S(u"图形偏移(&W)"), 33014), Separator(),
                Item(S(u"阵列加工(&Z)"), 32978), Item(S(u"原点偏移(&H)"), 32984)}),
            Separator(),
            Popup(S(u"块操作(&K)"), {Item(S(u"块生成(&B)"), 32995), Item(S(u"块打散(&E)"), 32996),
                                     Item(S(u"块显示(&C)"), 32998)}),
            Separator(), Item(S(u"常用齿轮(&W)"), 32921)}),
        Popup(S(u"查询(&I)"), {
            Item(S(u"点坐标(&P)"), 33004), Item(S(u"点距离(&D)"), 33005), Item(S(u"角度(&A)"), 33006),
            Item(S(u"周长(&L)"), 33007), Item(S(u"中心点(&C)"), 33008)}),
        Popup(S(u"工具(&T)"), {Item(S(u"计算器(&J)"), 32920)}),
        Popup(S(u"数控(&M)"), {
            Item(S(u"选择机床系统版本(&S)"), 33055), Separator(), Item(S(u"一次轨迹生成(&G)"), 32818),
            Item(S(u"多次轨迹生成(&D)"), 32930), Separator(), Item(S(u"批量轨迹生成(&A)"), 33027), Separator(),
            Item(S(u"导出加工(&S)"), 32845), Separator(), Item(S(u"清角参数设置(&A)"), 32860), Separator(),
            Item(S(u"机床参数计算(&C)"), 32847), Item(S(u"加工费用估算(&P)"), 33023), Separator(),
            Item(S(u"设置对刀点(&I)"), 32981)}),
        Popup(S(u"帮助(&H)"), {
            Item(S(u"使用帮助(&H)"), 57670), Item(S(u"修复程序(&Q)"), 33010), Separator(),
            Item(S(u"关于 Zorva(&A)..."), ID_APP_ABOUT)}),
    };
}

void RegisterAccelerators()
{
    constexpr BYTE V = FVIRTKEY;
    RegisterAcceleratorResource(IDR_MAINFRAME, {
        {BYTE(V | FCONTROL), 'N', WORD(ID_FILE_NEW)},
        {BYTE(V | FCONTROL), 'O', WORD(ID_FILE_OPEN)},
        {BYTE(V | FCONTROL), 'S', WORD(ID_FILE_SAVE)},
        {BYTE(V | FCONTROL), 'P', WORD(ID_FILE_PRINT)},
        {BYTE(V | FCONTROL), 'Z', WORD(ID_EDIT_UNDO)},
        {BYTE(V | FALT), WORD(VK_BACK), WORD(ID_EDIT_UNDO)},
        {BYTE(V | FCONTROL), 'X', WORD(ID_EDIT_CUT)},
        {BYTE(V | FSHIFT), WORD(VK_DELETE), WORD(ID_EDIT_CUT)},
        {BYTE(V | FCONTROL), 'C', WORD(ID_EDIT_COPY)},
        {BYTE(V | FCONTROL), WORD(VK_INSERT), WORD(ID_EDIT_COPY)},
        {BYTE(V | FCONTROL), 'V', WORD(ID_EDIT_PASTE)},
        {BYTE(V | FSHIFT), WORD(VK_INSERT), WORD(ID_EDIT_PASTE)},
        {V, WORD(VK_F1 + 5), WORD(ID_NEXT_PANE)},
        {BYTE(V | FSHIFT), WORD(VK_F1 + 5), WORD(ID_PREV_PANE)},
    });
}

struct Button { UINT id; const char16_t* text; };

// A button shows its icon and has the tooltip of its resource string. The
// icon-style toolbars take their pictures by command id; the main toolbar
// gets its image list from the frame.
void RegisterToolbar(UINT id, const std::vector<Button>& buttons, int w, int h, bool iconsByCommand)
{
    ToolBarResource bar;
    bar.buttonWidth = w;
    bar.buttonHeight = h;
    for (const Button& b : buttons) {
        bar.buttons.push_back(b.id);
        if (iconsByCommand)
            bar.icons.push_back(b.id);
        if (b.id != 0)
            RegisterResourceString(b.id, CString(b.text));
    }
    RegisterToolBarResource(id, std::move(bar));
}

void RegisterToolbars()
{
    RegisterToolbar(IDR_MAINTOOLBAR, {
        {65008, u"新建文件\n新建"}, {65009, u"打开文件\n打开"}, {65010, u"保存文件\n保存"},
        {65011, u"特性\n特性"}, {65014, u"复制Ctrl+C\n复制Ctrl+Z"}, {65016, u"剪切Ctrl+X\n剪切Ctrl+X"},
        {65015, u"粘贴Ctrl+V\n粘贴Ctrl+V"}, {65012, u"撤消Ctrl+Z\n撤消Ctrl+Z"}, {65013, u"恢复Ctrl+Y\n恢复Ctrl+Y"},
        {65022, u"定位中点 <HOME>\n定位中点 <HOME>"}, {65020, u"放大<PgUp>\n放大<PgUp>"},
        {65021, u"缩小<PgDown>\n缩小<PgDown>"}, {65025, u"阵列生成\n阵列生成"}, {65028, u"原点偏移\n原点偏移"},
        {65024, u"三维显示\n三维显示"}, {65017, u"一次轨迹\n一次轨迹"}, {65018, u"多次轨迹\n多次轨迹"},
        {65026, u"批量轨迹生成\n批量轨迹生成"}, {65019, u"导出加工\n导出加工"}, {65023, u"退出\n退出"}, {0, nullptr}},
        16, 16, false);
    RegisterToolbar(IDR_DRAWTOOLBAR, {
        {32780, u"绘制直线\n直线"}, {32782, u"绘制多段线\n多段线"}, {32781, u"绘制曲线\n曲线"},
        {32783, u"绘制圆\n圆"}, {32784, u"绘制圆弧\n圆弧"}, {32785, u"绘制四边形\n四边形"},
        {32786, u"绘制椭圆\n椭圆"}, {32787, u"绘制多边形\n多边形"}, {32791, u"绘制椭圆弧\n椭圆弧"},
        {0, nullptr}, {32849, u"擦除\n擦除"}, {32820, u"移动\n移动"}, {32772, u"剪裁\n剪裁"},
        {32822, u"打断\n打断"}, {32824, u"镜像\n镜像"}, {32826, u"圆角\n圆角"}, {32831, u"倒角\n倒角"},
        {32827, u"缩放\n缩放"}, {32828, u"旋转\n旋转"}, {32841, u"圆切线\n圆切线"}, {32825, u"延伸\n延伸"},
        {32823, u"齐边\n齐边"}, {32852, u"分解\n分解"}, {65027, u"偏移\n偏移"}},
        16, 15, true);
    RegisterToolbar(IDR_DIMTOOLBAR, {
        {32891, u"尺寸标注\n尺寸标注"}, {32892, u"线性标注\n线性标注"}, {32898, u"直径标注\n直径标注"},
        {32899, u"半径标注\n半径标注"}, {32900, u"文字标注\n文字标注"}, {32901, u"角度标注\n角度标注"},
        {32906, u"弧度标注\n弧度标注"}, {32922, u"点划线标注\n点划线标注"}},
        16, 15, true);
}

void RegisterCommandBar()
{
    using namespace dlg;
    RegisterDialogTemplate({IDD_COMMANDBAR, CString(), WS_CHILD, 727, 85, {
        ListBox(IDC_OUTPUT_LIST, 0, 2, 503, 59, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER),
        ComboBox(IDC_MODE_COMBO, 0, 64, 67, 30, CBS_DROPDOWNLIST),
        EditText(IDC_COMMAND_EDIT, 68, 64, 435, 16, ES_AUTOHSCROLL | WS_BORDER),
        AutoCheckBox(IDC_ORTHO, S(u"正交"), 513, 2, 30, 10),
        AutoCheckBox(IDC_TRACK, S(u"极轴"), 545, 2, 30, 10),
        AutoCheckBox(IDC_SNAP, S(u"捕捉"), 577, 2, 30, 10),
        AutoCheckBox(IDC_ENDPOINTS, S(u"端点"), 608, 2, 30, 10),
        AutoCheckBox(IDC_GRIPEDIT, S(u"修改"), 638, 2, 30, 10),
        AutoCheckBox(IDC_LOCK, S(u"锁定"), 670, 2, 30, 10),
        LText(IDC_FILE_NAME, S(u"-"), 516, 31, 210, 8, WS_DISABLED),
        LText(IDC_PROMPT, S(u"-"), 516, 49, 208, 8),
        LText(IDC_COORDS, S(u"-"), 516, 67, 211, 11),
    }});
}

// Palette buttons: one column, 44 x 14 units every 18 units from y 7.
void RegisterPalette(UINT id, const std::vector<std::pair<int, const char16_t*>>& buttons)
{
    DlgTemplate t{id, CString(), WS_CHILD, 44, 300, {}};
    int k = 0;
    for (const auto& [control, caption] : buttons)
        t.items.push_back(dlg::AutoCheckBox(control, CString(caption), 0, 7 + 18 * k++, 44, 14, BS_PUSHLIKE));
    RegisterDialogTemplate(t);
}

void RegisterPalettes()
{
    RegisterDialogTemplate({IDD_TOOLTABBAR, CString(), WS_CHILD, 50, 400, {
        dlg::Tab(IDC_TOOL_TAB, 1, 7, 49, 393, TCS_BUTTONS | TCS_MULTILINE)}});
    RegisterPalette(IDD_LEFTTOOL1, {
        {1030, u"直线(L)"}, {1032, u"多段线(PL)"}, {1097, u"曲线(SPL)"}, {1107, u"圆(C)"},
        {1102, u"圆弧(A)"}, {1108, u"四边形(RL)"}, {1109, u"椭圆(EL)"}, {1283, u"多边形(POL)"},
        {1089, u"椭圆弧(ELA)"}, {1285, u"波浪线(AS)"}, {1286, u"中心线(CL)"}});
    RegisterPalette(IDD_LEFTTOOL2, {
        {1030, u"擦除(TD)"}, {1032, u"移动(TM)"}, {1097, u"修剪(TR)"}, {1107, u"打断(TP)"},
        {1102, u"镜像(TI)"}, {1108, u"圆角(TF)"}, {1109, u"倒角(TA)"}, {1283, u"缩放(TS)"},
        {1089, u"旋转(TO)"}, {1285, u"圆切线(TC)"}, {1286, u"延伸(TL)"}, {1287, u"齐边(TE)"},
        {1288, u"分解(TX)"}, {1282, u"偏移(TW)"}});
    RegisterPalette(IDD_LEFTTOOL3, {
        {1030, u"尺寸(DL)"}, {1032, u"线性(DG)"}, {1097, u"直径(DD)"}, {1107, u"半径(DR)"},
        {1102, u"文字(DT)"}, {1108, u"角度(DA)"}, {1109, u"弧长(DC)"}, {1283, u"划线(DH)"}});
}

void RegisterStartDialogs()
{
    RegisterDialogTemplate({IDD_STARTDLG, CString(), WS_POPUP | WS_BORDER, 300, 140, {
        dlg::CText(1000, S(u"Zorva 图形工具"), 0, 34, 300, 36),
        dlg::CText(1001, S(u"ver 3.7"), 0, 82, 300, 14),
        dlg::CText(1002, S(u"线切割绘图与编程"), 0, 102, 300, 14)}});
    RegisterDialogTemplate({IDD_ABOUTBOX, S(u"关于 Zorva"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 70, {
        dlg::LText(1000, S(u"Zorva 图形工具 (R)"), 40, 12, 150, 10),
        dlg::LText(1001, S(u"ver 3.7"), 40, 28, 150, 10),
        dlg::DefPushButton(IDOK, S(u"确定"), 140, 48, 50, 14)}});
}

} // namespace

void RegisterFrameResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterMenuResource(IDR_MAINFRAME, MainMenu());
    RegisterMenuResource(IDR_RIGHTBUTTON, RightButtonMenu());
    RegisterAccelerators();
    RegisterToolbars();
    RegisterIconResources();
    InstallAppDialogs();
    RegisterCommandBar();
    RegisterPalettes();
    RegisterStartDialogs();
    RegisterResourceString(IDR_MAINFRAME, S(u"Zorva图形编程工具\n\nZorva\n\n\n\n"));
}
