#include "generators/array_copies.h"

#include <mutex>

#include "app/AppState.h"
#include "app/CRest.h"
#include "app/CZorvaDoc.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "view/view_entities.h"

namespace {

bool IsSource(const CUnit* u)
{
    return !u->deleted && u->selected && u->role == kRoleDrawing;
}

// The copied edges of one compound shape form a new group at each place:
// the group changes whenever the source's group does.
struct GroupRenumber {
    bool seen = false;
    std::int32_t lastSource = 0;
    std::int32_t current = 0;

    void Apply(const CUnit& source, CUnit& copy)
    {
        if (!seen || source.group != lastSource) {
            seen = true;
            lastSource = source.group;
            current = GetMaxGroupNumber() + 1;
        }
        copy.pieceOf = source.pieceOf;
        copy.group = current;
    }
};

} // namespace

void RemovePendingCopies(CZorvaDoc& doc)
{
    std::lock_guard<std::recursive_mutex> lock(doc.m_listMutex);
    g_listBusy = 1;
    doc.FreeUnits([](const CUnit* u) { return u->temporary != 0; });
    g_listBusy = 0;
}

int CollectArraySources(CZorvaDoc& doc)
{
    doc.m_tempList.RemoveAll();
    for (CUnit* u : doc.m_unitList)
        if (IsSource(u))
            doc.m_tempList.Add(u);
    return doc.m_tempList.GetSize();
}

void PlaceArrayCopies(CZorvaDoc& doc, const std::vector<ArrayPlace>& places, bool rotate)
{
    for (const ArrayPlace& place : places) {
        GroupRenumber groups;
        for (CUnit* source : doc.m_tempList) {
            CUnit* copy = nullptr;
            if (!source->Copy(0, copy) || copy == nullptr)
                continue;
            if (source->GetType() == 1 && source->pieceOf != 0)
                groups.Apply(*source, *copy);
            copy->Move(place.offset);
            copy->CommitTransform();
            if (rotate) {
                copy->Rotate(place.offset, place.turn);
                copy->CommitTransform();
            }
            copy->temporary = 1;
            copy->complete = 1;
            copy->role = kRoleDrawing;
            copy->selected = 0;
            doc.AppendUnit(copy);
        }
    }
}

void CollectSourceIds(CZorvaDoc& doc, CArray<std::uint64_t>& ids)
{
    for (CUnit* u : doc.m_unitList)
        if (IsSource(u))
            ids.Add(u->unitId);
}

int AcceptArrayCopies(CZorvaDoc& doc, const CArray<std::uint64_t>& ids)
{
    std::lock_guard<std::recursive_mutex> lock(doc.m_listMutex);
    // The copies used to join the drawing unrecorded: undoing the closing
    // brought the sources back and left the copies over them.
    CRest* created = nullptr;
    int accepted = 0;
    for (CUnit* u : doc.m_unitList) {
        if (u->deleted || !u->temporary)
            continue;
        u->temporary = 0;
        if (created == nullptr) {
            doc.PrepareUndoStep();
            created = new CRest;
        }
        u->editStamp = g_undoStep;
        created->Add(u);
        ++accepted;
    }
    if (created != nullptr)
        AppendToObArray(created, doc.m_restList);
    for (std::uint64_t id : ids) {
        for (int i = 0; i < doc.m_unitList.GetSize(); ++i) {
            CUnit* u = doc.m_unitList[i];
            if (!u->deleted && u->unitId == id) {
                doc.RecordDeleteAt(i);
                break;
            }
        }
    }
    return accepted;
}
