#include "platform/ui/CMenu.h"

#include <map>
#include <mutex>

namespace {

std::map<UINT, std::vector<MenuSpec>>& MenuResources()
{
    static std::map<UINT, std::vector<MenuSpec>> resources;
    return resources;
}
std::mutex g_resourceMutex;

void Fill(CMenu& menu, const std::vector<MenuSpec>& specs)
{
    for (const MenuSpec& s : specs) {
        if (s.separator) {
            menu.AppendMenu(MF_SEPARATOR);
        } else if (!s.popup.empty()) {
            auto sub = std::make_unique<CMenu>();
            sub->CreatePopupMenu();
            Fill(*sub, s.popup);
            menu.AppendMenu(MF_POPUP, std::move(sub), s.text);
        } else {
            menu.AppendMenu(MF_STRING, s.id, s.text);
        }
    }
}

} // namespace

void RegisterMenuResource(UINT resourceId, std::vector<MenuSpec> topLevel)
{
    std::lock_guard lock(g_resourceMutex);
    MenuResources()[resourceId] = std::move(topLevel);
}

BOOL CMenu::CreateMenu()
{
    if (m_created)
        return FALSE;
    m_created = true;
    return TRUE;
}

BOOL CMenu::CreatePopupMenu()
{
    return CreateMenu();
}

BOOL CMenu::LoadMenu(UINT resourceId)
{
    std::vector<MenuSpec> specs;
    {
        std::lock_guard lock(g_resourceMutex);
        auto it = MenuResources().find(resourceId);
        if (it == MenuResources().end())
            return FALSE;
        specs = it->second;
    }
    DestroyMenu();
    CreateMenu();
    Fill(*this, specs);
    return TRUE;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_created)
        return FALSE;
    m_items.clear();
    m_created = false;
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const CString& text)
{
    return InsertMenu(UINT(-1), flags | MF_BYPOSITION, id, text);
}

BOOL CMenu::AppendMenu(UINT flags, std::unique_ptr<CMenu> popup, const CString& text)
{
    Item item;
    item.text = text;
    item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    item.popup = std::move(popup);
    m_items.push_back(std::move(item));
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, const CString& text)
{
    Item item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    item.id = item.separator ? 0 : UINT(id);
    item.text = text;
    item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    size_t at = m_items.size();
    if ((flags & MF_BYPOSITION) != 0) {
        if (position < m_items.size())
            at = position;
    } else {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (!m_items[i].separator && m_items[i].popup == nullptr && m_items[i].id == position) {
                at = i;
                break;
            }
        }
    }
    m_items.insert(m_items.begin() + long(at), std::move(item));
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR id, const CString& text)
{
    Item* item = FindItem(position, flags);
    if (item == nullptr)
        return FALSE;
    item->separator = (flags & MF_SEPARATOR) != 0;
    item->id = UINT(id);
    item->text = text;
    item->state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags)
{
    if ((flags & MF_BYPOSITION) != 0) {
        if (position >= m_items.size())
            return FALSE;
        m_items.erase(m_items.begin() + long(position));
        return TRUE;
    }
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].popup == nullptr && !m_items[i].separator && m_items[i].id == position) {
            m_items.erase(m_items.begin() + long(i));
            return TRUE;
        }
        if (m_items[i].popup != nullptr && m_items[i].popup->DeleteMenu(position, flags))
            return TRUE;
    }
    return FALSE;
}

UINT CMenu::GetMenuItemID(int position) const
{
    if (position < 0 || size_t(position) >= m_items.size())
        return UINT(-1);
    const Item& item = m_items[size_t(position)];
    if (item.popup != nullptr)
        return UINT(-1);
    return item.separator ? 0 : item.id;
}

CMenu* CMenu::GetSubMenu(int position) const
{
    if (position < 0 || size_t(position) >= m_items.size())
        return nullptr;
    return m_items[size_t(position)].popup.get();
}

CMenu::Item* CMenu::FindItem(UINT idOrPosition, UINT flags)
{
    if ((flags & MF_BYPOSITION) != 0)
        return idOrPosition < m_items.size() ? &m_items[idOrPosition] : nullptr;
    for (Item& item : m_items) {
        if (item.popup != nullptr) {
            if (Item* found = item.popup->FindItem(idOrPosition, flags))
                return found;
        } else if (!item.separator && item.id == idOrPosition) {
            return &item;
        }
    }
    return nullptr;
}

const CMenu::Item* CMenu::FindItem(UINT idOrPosition, UINT flags) const
{
    return const_cast<CMenu*>(this)->FindItem(idOrPosition, flags);
}

UINT CMenu::CheckMenuItem(UINT idOrPosition, UINT flags)
{
    Item* item = FindItem(idOrPosition, flags);
    if (item == nullptr)
        return UINT(-1);
    const UINT old = item->state & MF_CHECKED;
    item->state = (item->state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return old;
}

UINT CMenu::EnableMenuItem(UINT idOrPosition, UINT flags)
{
    Item* item = FindItem(idOrPosition, flags);
    if (item == nullptr)
        return UINT(-1);
    const UINT old = item->state & (MF_GRAYED | MF_DISABLED);
    item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return old;
}

UINT CMenu::GetMenuState(UINT idOrPosition, UINT flags) const
{
    const Item* item = FindItem(idOrPosition, flags);
    if (item == nullptr)
        return UINT(-1);
    return item->state | (item->separator ? MF_SEPARATOR : 0) | (item->popup != nullptr ? MF_POPUP : 0);
}

int CMenu::GetMenuString(UINT idOrPosition, CString& text, UINT flags) const
{
    const Item* item = FindItem(idOrPosition, flags);
    text = item != nullptr ? item->text : CString();
    return text.GetLength();
}

BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
{
    BOOL found = FALSE;
    for (UINT i = first; i <= last; ++i) {
        if (Item* it = FindItem(i, flags)) {
            it->state = (it->state & ~MF_CHECKED) | (i == item ? MF_CHECKED : 0);
            found = found || i == item;
        }
    }
    return found;
}
