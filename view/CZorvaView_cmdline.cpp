// The keyboard end of the view: Enter, Esc, Home, Delete and the hot keys.
// Enter reads the command edit: a short command when no command has points
// yet, else input for the running command.

#include "app/AppState.h"
#include "app/CZorvaApp.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "platform/ui/CListBox.h"
#include "view/CZorvaView.h"
#include "view/view_entities.h"

namespace {

constexpr int kKeyEnter = 13;
constexpr int kKeyEsc = 27;
constexpr int kKeyHome = 36;
constexpr int kKeyDelete = 46;
constexpr int kHotRedo = 4001;
constexpr int kHotUndo = 4003;
constexpr int kHotCopy = 4020;
constexpr int kHotPaste = 4022;
constexpr int kHotCut = 4024;
constexpr int kHotSelectAll = 4027;

struct ShortCommand {
    const char16_t* text;
    int command;
};

// Texts that start a command as they are.
const ShortCommand kStarts[] = {
    {u"l", 1},   {u"bl", 1},  {u"pl", 9},  {u"bp", 9},  {u"spl", 11}, {u"bs", 11}, {u"pol", 10},
    {u"bm", 10}, {u"c", 7},   {u"bc", 7},  {u"a", 8},   {u"ba", 8},   {u"el", 5},  {u"be", 5},
    {u"ela", 6}, {u"bq", 6},  {u"rl", 3},  {u"br", 3},  {u"tz", 62},  {u"tx", 68}, {u"td", 69},
    {u"tp", 56}, {u"tr", 55}, {u"ti", 54}, {u"to", 57}, {u"ts", 58},  {u"tm", 53}, {u"tf", 61},
    {u"ta", 63}, {u"tl", 59}, {u"tc", 64}, {u"th", 71}, {u"dn", 15},  {u"dl", 15}, {u"dg", 16},
    {u"dt", 12}, {u"tw", 80},
};

// Texts that set the sub-flag of their command. The flag is set before the
// start: set after it, the prompt, the repeat and the palette took the
// variant of the previous start.
const struct {
    const char16_t* text;
    int command;
    std::uint8_t subFlag;
} kVariants[] = {
    {u"dd", 17, 0}, {u"dr", 17, 1}, {u"da", 19, 0}, {u"dc", 18, 0}, {u"cl", 26, 0}, {u"dh", 20, 0},
};

// Texts that remember their command as the last one before the start.
const ShortCommand kQueries[] = {
    {u"as", 23}, {u"ip", 72}, {u"id", 73}, {u"ia", 75}, {u"il", 74}, {u"ic", 76},
};

// Texts that open a dialog through a pending action.
const ShortCommand kDialogs[] = {
    {u"az", 72}, {u"ww", 24}, {u"er", 11}, {u"ea", 12}, {u"ew", 13}, {u"ed", 14}, {u"mg", 41},
    {u"md", 45}, {u"ms", 42}, {u"ma", 43}, {u"mc", 44}, {u"mi", 46}, {u"hh", 51}, {u"ha", 52},
    {u"fn", 81}, {u"fo", 82}, {u"fs", 83}, {u"fa", 84}, {u"tj", 31},
};

CString ReadCommandEdit()
{
    CString text;
    if (g_commandBar == nullptr)
        return text;
    if (CWnd* edit = g_commandBar->GetDlgItem(kIdCommandEdit))
        edit->SetFocus();
    g_commandBar->GetDlgItemText(kIdCommandEdit, text);
    return text;
}

void ScrollOutputToEnd()
{
    if (g_commandBar == nullptr)
        return;
    if (auto* list = dynamic_cast<CListBox*>(g_commandBar->GetDlgItem(kIdOutputList)))
        list->SetTopIndex(list->GetCount() - 1);
}

} // namespace

void CZorvaView::OnKey(CDC* dc, int, int key)
{
    m_redrawPending = 0;
    m_clickBusy = 0;
    switch (key) {
    case kKeyEnter:
        OnEnterKey(dc);
        break;
    case kKeyEsc:
        if (g_keyDownSeen == 0) {
            g_keyDownSeen = 1;
            CancelCommand();
        }
        break;
    case kKeyHome:
        if (g_keyDownSeen == 0) {
            g_keyDownSeen = 1;
            GoHome(dc);
        }
        break;
    case kKeyDelete:
        if (g_keyDownSeen == 0) {
            g_keyDownSeen = 1;
            EraseSelected();
        }
        break;
    case kHotRedo:
    case kHotUndo:
    case kHotPaste:
        if (g_UndoKeyLatch == 0) {
            g_UndoKeyLatch = 1;
            if (key == kHotPaste)
                PasteClipboard();
            else
                UndoOrRedoByKey(key == kHotRedo);
        }
        break;
    case kHotCopy:
    case kHotCut:
    case kHotSelectAll:
        if (g_EditKeyLatch == 0) {
            g_EditKeyLatch = 1;
            if (key == kHotCopy)
                CopySelected();
            else if (key == kHotCut)
                CutSelected();
            else
                SelectAllByKey();
        }
        break;
    default:
        break;
    }
}

void CZorvaView::GoHome(CDC* dc)
{
    g_ViewOriginX = g_defaultOriginX;
    g_ViewOriginY = g_defaultOriginY;
    if (CZorvaDoc* doc = GetZorvaDoc())
        doc->FitViewToDrawing();
    UpdateViewCorners();
    Render(dc);
}

void CZorvaView::UndoOrRedoByKey(bool redo)
{
    if (m_workerRequest.load() != 0) {
        PrintLine(CString(u"#请等待线程处理完成..."));
        return;
    }
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    if (!(redo ? doc->Redo() : doc->Undo()))
        return;
    g_cmdPointCount = 0;
    SetCommand(0);
}

void CZorvaView::SelectAllByKey()
{
    if (m_workerRequest.load() != 0) {
        PrintLine(CString(u"#请等待线程处理完成..."));
        return;
    }
    CZorvaDoc* doc = GetZorvaDoc();
    if (doc == nullptr)
        return;
    int live = 0;
    for (CUnit* u : doc->m_unitList) {
        if (u->deleted)
            continue;
        u->selected = 1;
        ++live;
    }
    RedrawNow();
    if (g_curCommand == 0) {
        CString text;
        text.Format(u"全选->找到 %d 个", live);
        PrintLine(text, 1);
    }
}

void CZorvaView::OnEnterKey(CDC* dc)
{
    if (g_keyDownSeen) {
        ScrollOutputToEnd();
        return;
    }
    if (g_lastCommand == 0)
        g_curCommand = 0;
    g_keyDownSeen = 1;
    CString text = ReadCommandEdit();
    text.Trim();
    text.MakeLower();
    if (text == u"qt" || text == u"exit") {
        CZorvaApp::ExitApplication();
        return;
    }
    if (text.IsEmpty() && ConfirmExportPick())
        return;
    const bool typed = g_curCommand != 0 && g_cmdPointCount != 0;
    if (typed || !RunShortCommand(dc, text))
        TypedInput(dc, text);
    ScrollOutputToEnd();
}

// The short commands; false when the text is none of them.
bool CZorvaView::RunShortCommand(CDC* dc, const CString& text)
{
    for (const ShortCommand& s : kStarts) {
        if (text == s.text) {
            SetCommand(s.command);
            return true;
        }
    }
    for (const auto& v : kVariants) {
        if (text == v.text) {
            g_cmdSubFlag = v.subFlag;
            SetCommand(v.command);
            return true;
        }
    }
    for (const ShortCommand& s : kQueries) {
        if (text == s.text) {
            g_lastCommand = s.command;
            SetCommand(s.command);
            return true;
        }
    }
    for (const ShortCommand& s : kDialogs) {
        if (text == s.text) {
            ClearCommandEdit();
            ArmPendingAction(s.command, 1);
            return true;
        }
    }
    if (text == u"te") {
        // Align edges takes an existing selection as its base line.
        SetCommand(kCmdAlign);
        TypedInput(dc, text);
        return true;
    }
    if (text == u"help") {
        ShowKeyList();
        return true;
    }
    return false;
}

void CZorvaView::ShowKeyList()
{
    ClearCommandEdit();
    if (g_KeyListLoaded == 0) {
        LoadHelpKeyList();
        g_KeyListLoaded = 1;
    }
    const int count = static_cast<int>(g_KeyList.GetCount());
    for (int key = 1; key <= count; ++key) {
        CString line;
        if (g_KeyList.Lookup(key, line))
            PrintLine(line);
    }
}

void CZorvaView::TypedInput(CDC* dc, const CString& text)
{
    if (!g_PromptEchoOff)
        ShowPrompt(text, 1);
    ClearCommandEdit();
    if (g_LockSwitch) {
        PrintLine(CString(u"#锁定开关已开启，无法进行操作"), 1);
        return;
    }
    if (m_workerRequest.load() != 0) {
        PrintLine(CString(u"#请等待线程处理完成..."));
        return;
    }
    bool handled = false;
    switch (g_cmdStep) {
    case kStepPointInput:
        handled = TypedDrawingInput(dc, text);
        break;
    case kStepSelect:
    case kStepGripMove:
    case kStepGripStretch:
        handled = g_TypedEditInputHook != nullptr && g_TypedEditInputHook(this, dc, text);
        break;
    default:
        break;
    }
    if (handled)
        return;
    // An empty text in a grip step went to the grip rules above, which end
    // the grip edit.
    if (!text.IsEmpty()) {
        PrintLine(CString(u"#输入有误"));
        if (g_curCommand != 0)
            ShowPrompt(CString(), 0);
    } else {
        ShowPrompt(CString(), 0);
    }
}
