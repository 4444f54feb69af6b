#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CString.h"
#include "platform/ui/wintypes.h"

#include <memory>
#include <vector>

class CMenu;
class CWnd;
using HMENU = CMenu*;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

// A menu or menu bar held as a tree of items; the frame shows it as a Qt
// menu bar, popups build Qt menus from it when they open. Item texts keep
// the "&" mnemonics and the "\t" accelerator text.
class CMenu : public CObject {
public:
    struct Item {
        UINT id = 0;
        CString text;
        UINT state = 0; // MF_GRAYED, MF_DISABLED, MF_CHECKED
        bool separator = false;
        std::unique_ptr<CMenu> popup;
    };

    CMenu() = default;
    ~CMenu() override = default;

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the menu declared under resource id (see RegisterMenuResource).
    BOOL LoadMenu(UINT resourceId);
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() { return m_created ? this : nullptr; }
    operator HMENU() { return GetSafeHmenu(); }

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const CString& text = CString());
    // MF_POPUP: the popup is moved into this menu.
    BOOL AppendMenu(UINT flags, std::unique_ptr<CMenu> popup, const CString& text);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, const CString& text = CString());
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, const CString& text = CString());
    BOOL DeleteMenu(UINT position, UINT flags);
    BOOL RemoveMenu(UINT position, UINT flags) { return DeleteMenu(position, flags); }

    int GetMenuItemCount() const { return int(m_items.size()); }
    // Shows this menu as a popup (popup_menu.h).
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* target, LPCRECT ignored = nullptr);
    UINT GetMenuItemID(int position) const; // 0 separator, -1 popup
    CMenu* GetSubMenu(int position) const;
    // Previous state (MF_CHECKED / MF_GRAYED bits), or -1 when not found.
    UINT CheckMenuItem(UINT idOrPosition, UINT flags);
    UINT EnableMenuItem(UINT idOrPosition, UINT flags);
    UINT GetMenuState(UINT idOrPosition, UINT flags) const;
    int GetMenuString(UINT idOrPosition, CString& text, UINT flags) const;
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags);

    // Item by command id anywhere below this menu, or by position here.
    Item* FindItem(UINT idOrPosition, UINT flags);
    const Item* FindItem(UINT idOrPosition, UINT flags) const;
    const std::vector<Item>& Items() const { return m_items; }
    std::vector<Item>& Items() { return m_items; }

private:
    std::vector<Item> m_items;
    bool m_created = false;
};

// Menus declared in code, registered under a resource id.
struct MenuSpec {
    CString text;
    UINT id = 0;
    bool separator = false;
    std::vector<MenuSpec> popup;
};
namespace menu {
inline MenuSpec Item(const CString& text, UINT id) { return MenuSpec{text, id, false, {}}; }
inline MenuSpec Separator() { return MenuSpec{CString(), 0, true, {}}; }
inline MenuSpec Popup(const CString& text, std::vector<MenuSpec> items) { return MenuSpec{text, 0, false, std::move(items)}; }
} // namespace menu
void RegisterMenuResource(UINT resourceId, std::vector<MenuSpec> topLevel);
