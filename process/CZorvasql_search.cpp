#include "process/CZorvasql_search.h"

#include "platform/ui/dialog_template.h"
#include "platform/ui/message_box.h"
#include "process/ProcessState.h"
#include "process/field_io.h"

namespace {

constexpr unsigned IDD_SEARCH = 161;
constexpr int IDC_TEXT = 1009;
constexpr int IDC_USE_THICKNESS = 1030, IDC_THICKNESS_FROM = 1015, IDC_THICKNESS_TO = 1016;
constexpr int IDC_USE_EFFICIENCY = 1032, IDC_EFFICIENCY_FROM = 1017, IDC_EFFICIENCY_TO = 1096;
constexpr int IDC_USE_FINISH = 1097, IDC_FINISH_FROM = 1099, IDC_FINISH_TO = 1103;

const DialogTemplateRegistrar kTemplate([] {
    using namespace dlg;
    const auto S = [](const char16_t* text) { return CString(text); };
    DlgTemplate t{IDD_SEARCH, S(u"查询"), WS_POPUP | WS_CAPTION | WS_SYSMENU, 212, 104, {}};
    t.items = {
        LText(-1, S(u"材料/备注"), 8, 10, 50, 10),
        EditText(IDC_TEXT, 62, 8, 142, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        AutoCheckBox(IDC_USE_THICKNESS, S(u"工件厚度"), 8, 28, 52, 10, WS_TABSTOP),
        EditText(IDC_THICKNESS_FROM, 62, 26, 56, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        CText(-1, S(u"-"), 120, 28, 8, 10),
        EditText(IDC_THICKNESS_TO, 130, 26, 56, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        LText(-1, S(u"mm"), 190, 28, 18, 10),
        AutoCheckBox(IDC_USE_EFFICIENCY, S(u"切割效率"), 8, 46, 52, 10, WS_TABSTOP),
        EditText(IDC_EFFICIENCY_FROM, 62, 44, 56, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        CText(-1, S(u"-"), 120, 46, 8, 10),
        EditText(IDC_EFFICIENCY_TO, 130, 44, 56, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        AutoCheckBox(IDC_USE_FINISH, S(u"光洁度"), 8, 64, 52, 10, WS_TABSTOP),
        EditText(IDC_FINISH_FROM, 62, 62, 56, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        CText(-1, S(u"-"), 120, 64, 8, 10),
        EditText(IDC_FINISH_TO, 130, 62, 56, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        DefPushButton(IDOK, S(u"搜索(&S)"), 98, 84, 50, 15),
        PushButton(IDCANCEL, S(u"取消"), 154, 84, 50, 15),
    };
    return t;
}());

} // namespace

CZorvasql_search::CZorvasql_search() : CDialog(IDD_SEARCH) {}

void CZorvasql_search::OnOK()
{
    g_ProcessFilterText = proc::FieldText(this, IDC_TEXT);
    g_ProcessFilterThickness[0] = g_ProcessFilterThickness[1] = 0.0;
    g_ProcessFilterEfficiency[0] = g_ProcessFilterEfficiency[1] = 0;
    g_ProcessFilterFinish[0] = g_ProcessFilterFinish[1] = 0;
    if (proc::FieldChecked(this, IDC_USE_THICKNESS)) {
        g_ProcessFilterThickness[0] = proc::FieldNumber(this, IDC_THICKNESS_FROM);
        g_ProcessFilterThickness[1] = proc::FieldNumber(this, IDC_THICKNESS_TO);
    }
    if (proc::FieldChecked(this, IDC_USE_EFFICIENCY)) {
        g_ProcessFilterEfficiency[0] = proc::FieldInt(this, IDC_EFFICIENCY_FROM);
        g_ProcessFilterEfficiency[1] = proc::FieldInt(this, IDC_EFFICIENCY_TO);
    }
    if (proc::FieldChecked(this, IDC_USE_FINISH)) {
        g_ProcessFilterFinish[0] = proc::FieldInt(this, IDC_FINISH_FROM);
        g_ProcessFilterFinish[1] = proc::FieldInt(this, IDC_FINISH_TO);
    }
    g_ProcessFilterActive = 1;
    EndDialog(IDOK);
}
