#pragma once

#include "platform/core/CString.h"

#include <cstdint>

class CWnd;
class CListCtrl;

// Puts the text on the clipboard as ANSI (GBK) text; false when the
// clipboard cannot be opened.
bool CopyTextToClipboard(CWnd* owner, const CString& text);

// The clipboard's ANSI text as wide text; empty when there is none.
CString PasteTextFromClipboard();

// The folder browser titled "请选择目录："; empty when cancelled.
CString ChooseFolder();

// What the caller of a list sort passes with CompareListItems.
struct ListSortRecord {
    CListCtrl* list = nullptr;
    int column = 0;
    std::uint8_t ascending = 1;
};

// Sort comparison for a report list whose items carry their row index as
// item data; sortRecord points at a ListSortRecord. Columns 0 to 3 compare
// as text, later columns as whole numbers (1 when out of order, else 0).
int CompareListItems(std::intptr_t item1, std::intptr_t item2, std::intptr_t sortRecord);
