#include "app/shell_utils.h"

#include "platform/core/codepage.h"
#include "platform/core/numbers.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/folder_browser.h"

#include <cstring>
#include <string>
#include <vector>

bool CopyTextToClipboard(CWnd* owner, const CString& text)
{
    const std::string ansi = Utf16ToGbk(text.View());
    // Sized by bytes: a buffer of one byte per character cut every
    // double-byte text in half.
    std::vector<char> block(ansi.size() + 1, '\0');
    std::memcpy(block.data(), ansi.data(), ansi.size());
    return SetClipboardAnsiText(owner, block.data(), block.size());
}

CString PasteTextFromClipboard()
{
    std::string ansi;
    if (!GetClipboardAnsiText(ansi))
        return CString();
    return CString(GbkToUtf16(ansi));
}

CString ChooseFolder()
{
    return BrowseForFolder(nullptr, CString(u"请选择目录："));
}

namespace {

// wcstod's value cut toward zero into 32 bits; out-of-range values saturate.
int TruncatedNumber(const CString& text)
{
    const double v = StrToDouble(text.View());
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return 2147483647;
    if (v <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(v);
}

} // namespace

int CompareListItems(std::intptr_t item1, std::intptr_t item2, std::intptr_t sortRecord)
{
    const auto* record = reinterpret_cast<const ListSortRecord*>(sortRecord);
    const CString text1 = record->list->GetItemText(static_cast<int>(item1), record->column);
    const CString text2 = record->list->GetItemText(static_cast<int>(item2), record->column);
    if (record->column > 3) {
        const int a = TruncatedNumber(text1);
        const int b = TruncatedNumber(text2);
        if (record->ascending)
            return b < a ? 1 : 0;
        return a < b ? 1 : 0;
    }
    if (record->ascending)
        return text1.Compare(text2.GetString());
    return text2.Compare(text1.GetString());
}
