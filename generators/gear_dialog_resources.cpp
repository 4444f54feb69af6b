#include "generators/gear_dialog_resources.h"

#include "platform/ui/dialog_template.h"

const double kModules[kModuleCount] = {1, 1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3, 3.5, 4, 4.5, 5, 5.5, 6, 7,
                                       8, 9, 10, 12, 14, 16, 18, 20, 22, 25, 28, 32, 36, 40, 45, 50};

namespace {

using namespace dlg;

constexpr int kNoId = -1;

CString S(const char16_t* text)
{
    return CString(text);
}

// Label column, field column and hint column of both pages.
constexpr int kLabelX = 6, kLabelW = 70, kFieldX = 78, kFieldW = 50, kHintX = 132, kHintW = 48;
constexpr int kRow = 16, kFieldH = 12, kLabelH = 10;

DlgItemTemplate Label(const char16_t* text, int y)
{
    return LText(kNoId, S(text), kLabelX, y + 2, kLabelW, kLabelH);
}

DlgItemTemplate Hint(const char16_t* text, int y)
{
    return LText(kNoId, S(text), kHintX, y + 2, kHintW, kLabelH);
}

DlgItemTemplate List(int id, int y, unsigned style = CBS_DROPDOWNLIST)
{
    return ComboBox(id, kFieldX, y, kFieldW, 100, style | WS_VSCROLL | CBS_NOINTEGRALHEIGHT);
}

DlgTemplate GearDialog()
{
    return {IDD_GEAR, S(u"齿轮生成"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 374, 291, {
        Tab(IDC_GEAR_TAB, 183, 7, 186, 279),
        DefPushButton(1, S(u"生成(&S)"), 4, 271, 50, 17),
        PushButton(IDC_GEAR_PREVIEW, S(u"预览(&P)"), 58, 271, 50, 17),
        PushButton(2, S(u"取消"), 111, 271, 50, 17),
    }};
}

DlgTemplate GearPage()
{
    int y = 8;
    DlgTemplate t{IDD_GEAR_PAGE, CString(), WS_CHILD, 180, 250, {}};
    auto row = [&](std::initializer_list<DlgItemTemplate> items) {
        for (const DlgItemTemplate& i : items)
            t.items.push_back(i);
        y += kRow;
    };
    row({Label(u"齿数 (z)：", y), EditText(IDC_TEETH, kFieldX, y, kFieldW, kFieldH)});
    row({Label(u"模数 (m)：", y), List(IDC_MODULE, y, CBS_DROPDOWN)});
    row({Label(u"压力角 (α)：", y), List(IDC_ALPHA, y)});
    row({Label(u"变位系数 (x)：", y), EditText(IDC_GEAR_SHIFT, kFieldX, y, kFieldW, kFieldH),
         Hint(u"(-1.0--1.0)", y)});
    row({Label(u"齿顶高系数 (ha*)：", y), List(IDC_HA, y)});
    row({Label(u"齿顶隙系数 (c*)：", y), List(IDC_C, y)});
    row({AutoRadioButton(IDC_GEAR_MODE1, S(u"方式一"), kLabelX, y, 60, kLabelH, WS_GROUP | WS_TABSTOP),
         AutoRadioButton(IDC_GEAR_MODE2, S(u"方式二"), kFieldX, y, 60, kLabelH)});
    row({LText(kNoId, S(u"齿顶圆直径 (da)："), kLabelX, y + 2, kLabelW, kLabelH, WS_GROUP),
         EditText(IDC_SIZE_TIP, kFieldX, y, kFieldW, kFieldH, WS_DISABLED)});
    row({Label(u"齿根圆直径 (df)：", y), EditText(IDC_SIZE_ROOT, kFieldX, y, kFieldW, kFieldH, WS_DISABLED),
         Hint(u"(mm)", y)});
    y += 4;
    row({AutoRadioButton(IDC_GEAR_EXTERNAL, S(u"外齿轮"), kLabelX, y, 60, kLabelH, WS_GROUP | WS_TABSTOP),
         AutoRadioButton(IDC_GEAR_INTERNAL, S(u"内齿轮"), kFieldX, y, 60, kLabelH)});
    y += 4;
    row({AutoCheckBox(IDC_GEAR_TIP_ON, S(u"齿顶过渡圆半径 (rt)"), 4, y, 110, kLabelH, WS_GROUP),
         EditText(IDC_GEAR_TIP_R, 116, y, 36, kFieldH), LText(kNoId, S(u"(mm)"), 154, y + 2, 24, kLabelH)});
    row({AutoCheckBox(IDC_GEAR_ROOT_ON, S(u"齿根过渡圆半径 (rf)"), 4, y, 110, kLabelH),
         EditText(IDC_GEAR_ROOT_R, 116, y, 36, kFieldH), LText(kNoId, S(u"(mm)"), 154, y + 2, 24, kLabelH)});
    row({AutoCheckBox(IDC_GEAR_BYCOUNT, S(u"指定齿数生成"), 4, y, 110, kLabelH),
         EditText(IDC_GEAR_COUNT, 116, y, 36, kFieldH)});
    row({LText(kNoId, S(u"起始角度："), 14, y + 2, 60, kLabelH), EditText(IDC_GEAR_START, kFieldX, y, kFieldW, kFieldH),
         Hint(u"(度数 0--360)", y)});
    y += 6;
    t.items.push_back(LText(IDC_MESSAGE, S(u"--"), 6, y, 170, 20));
    return t;
}

DlgTemplate RackPage()
{
    int y = 8;
    DlgTemplate t{IDD_RACK_PAGE, CString(), WS_CHILD, 180, 250, {}};
    auto row = [&](std::initializer_list<DlgItemTemplate> items) {
        for (const DlgItemTemplate& i : items)
            t.items.push_back(i);
        y += kRow;
    };
    row({Label(u"齿数 (z)：", y), EditText(IDC_TEETH, kFieldX, y, kFieldW, kFieldH)});
    row({Label(u"模数 (m)：", y), List(IDC_MODULE, y, CBS_DROPDOWN)});
    row({Label(u"压力角 (α)：", y), List(IDC_ALPHA, y)});
    row({Label(u"变位系数 (x)：", y), EditText(IDC_RACK_SHIFT, kFieldX, y, kFieldW, kFieldH)});
    row({Label(u"齿顶高系数 (ha*)：", y), List(IDC_HA, y)});
    row({Label(u"齿顶隙系数 (c*)：", y), List(IDC_C, y)});
    row({AutoRadioButton(IDC_RACK_MODE1, S(u"方式1"), kLabelX, y, 60, kLabelH, WS_GROUP | WS_TABSTOP),
         AutoRadioButton(IDC_RACK_MODE2, S(u"方式2"), kFieldX, y, 60, kLabelH)});
    row({LText(kNoId, S(u"齿顶高度 (ha)："), kLabelX, y + 2, kLabelW, kLabelH, WS_GROUP),
         EditText(IDC_SIZE_TIP, kFieldX, y, kFieldW, kFieldH, WS_DISABLED)});
    row({Label(u"齿根高度 (hf)：", y), EditText(IDC_SIZE_ROOT, kFieldX, y, kFieldW, kFieldH, WS_DISABLED),
         Hint(u"(mm)", y)});
    y += 8;
    row({AutoCheckBox(IDC_RACK_TIP_ON, S(u"齿顶过渡圆半径 (rt)"), 4, y, 110, kLabelH),
         EditText(IDC_RACK_TIP_R, 116, y, 36, kFieldH), LText(kNoId, S(u"(mm)"), 154, y + 2, 24, kLabelH)});
    row({AutoCheckBox(IDC_RACK_ROOT_ON, S(u"齿根过渡圆半径 (rf)"), 4, y, 110, kLabelH),
         EditText(IDC_RACK_ROOT_R, 116, y, 36, kFieldH), LText(kNoId, S(u"(mm)"), 154, y + 2, 24, kLabelH)});
    y += 6;
    t.items.push_back(LText(IDC_MESSAGE, S(u"--"), 6, y, 170, 20));
    return t;
}

} // namespace

void RegisterGearDialogTemplates()
{
    static const bool registered = [] {
        RegisterDialogTemplate(GearDialog());
        RegisterDialogTemplate(GearPage());
        RegisterDialogTemplate(RackPage());
        return true;
    }();
    (void)registered;
}
