#include "platform/ui/CCmdTarget.h"

#include "platform/ui/CCmdUI.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const MsgMap* CCmdTarget::GetThisMessageMap()
{
    static const MsgMapEntry entries[] = {{MsgKind::End, 0, 0, 0, 0, nullptr}};
    static const MsgMap map = {nullptr, entries};
    return &map;
}

const MsgMap* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

// The most derived class's entry wins, as each map is searched before its base.
const MsgMapEntry* CCmdTarget::FindEntry(MsgKind kind, UINT message, UINT code, UINT id) const
{
    for (const MsgMap* map = GetMessageMap(); map != nullptr; map = map->base ? map->base() : nullptr) {
        for (const MsgMapEntry* e = map->entries; e->kind != MsgKind::End; ++e) {
            if (e->kind != kind)
                continue;
            if (kind == MsgKind::Message) {
                if (e->message == message)
                    return e;
                continue;
            }
            if (e->code == code && id >= e->idFirst && id <= e->idLast)
                return e;
        }
    }
    return nullptr;
}

// A non-null pHandlerInfo only asks whether a handler exists; nothing runs.
BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nCode == CN_UPDATE_COMMAND_UI) {
        const MsgMapEntry* e = FindEntry(MsgKind::UpdateUI, 0, 0, nID);
        if (e == nullptr)
            return FALSE;
        if (pHandlerInfo == nullptr)
            e->thunk(this, nID, reinterpret_cast<WPARAM>(pExtra), 0);
        return TRUE;
    }
    const MsgMapEntry* e = FindEntry(MsgKind::Command, 0, UINT(nCode), nID);
    if (e == nullptr)
        return FALSE;
    if (pHandlerInfo == nullptr)
        e->thunk(this, nID, 0, 0);
    return TRUE;
}

BOOL CCmdTarget::DispatchMappedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const MsgMapEntry* e = FindEntry(MsgKind::Message, message, 0, 0);
    if (e == nullptr)
        return FALSE;
    const LRESULT r = e->thunk(this, 0, wParam, lParam);
    if (result != nullptr)
        *result = r;
    return TRUE;
}

BOOL CCmdTarget::DispatchNotify(UINT id, NMHDR* header, LRESULT* result)
{
    if (header == nullptr)
        return FALSE;
    const MsgMapEntry* e = FindEntry(MsgKind::Notify, 0, UINT(header->code), id);
    if (e == nullptr)
        return FALSE;
    e->thunk(this, id, reinterpret_cast<WPARAM>(header), reinterpret_cast<LPARAM>(result));
    return TRUE;
}
