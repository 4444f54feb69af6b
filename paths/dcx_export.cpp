#include "paths/dcx_export.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "app/AppState.h"
#include "app/DocumentUi.h"
#include "geometry/CUnit.h"
#include "geometry/CUnitDocument.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"
#include "platform/core/exceptions.h"
#include "platform/core/files.h"
#include "view/ViewState.h"

namespace {

// The live paths by id, the first in list order for an id. Built once:
// before, each exported id searched the whole drawing, and an export of
// thousands of paths from a large plate took seconds.
std::unordered_map<std::uint64_t, CTrail*> LivePaths(CUnitDocument& doc)
{
    std::unordered_map<std::uint64_t, CTrail*> paths;
    for (CUnit* u : doc.m_unitList)
        if (!u->deleted && u->role == kRolePath && u->GetType() == 66)
            paths.emplace(u->unitId, static_cast<CTrail*>(u));
    return paths;
}

DcxHeader BuildHeader(CUnitDocument& doc, const std::vector<CTrail*>& paths)
{
    DcxHeader h;
    for (CUnit* u : doc.m_unitList) {
        if (u->deleted || u->role != kRoleCutPoint)
            continue;
        h.hasCutPoint = 1;
        h.cutPoint[0] = u->inputPoints[0];
        h.cutPoint[1] = u->inputPoints[1];
        break;
    }
    for (size_t i = 0; i < paths.size(); ++i) {
        h.min = i == 0 ? paths[i]->extentMin : x_Vector::MinCorner(h.min, paths[i]->extentMin);
        h.max = i == 0 ? paths[i]->extentMax : x_Vector::MaxCorner(h.max, paths[i]->extentMax);
    }
    h.count = static_cast<std::int32_t>(paths.size());
    FillDcxName(h, g_currentFileName);
    return h;
}

void WritePathRecord(CArchive& ar, CTrail& path, int sequence)
{
    path.params.sequence = sequence;
    path.params.reserved2 = 0.0;
    StoreTrailParams(ar, path.params);
    StoreTrailList(ar, path.trails[0]);
    StoreTrailList(ar, path.trails[1]);
}

} // namespace

// Every id is checked before anything is written (a missing path used to
// leave a file whose header promised more paths than it held), and the
// file is replaced only when it was written whole.
bool WriteDcxFile(const CString& path)
{
    if (g_SelectedTrailIds.IsEmpty()) {
        DocUi().PrintLine(CString(u"#没有选择轨迹"));
        return false;
    }
    if (g_pDoc == nullptr)
        return false;
    std::lock_guard<std::recursive_mutex> lock(g_pDoc->m_listMutex);
    const std::unordered_map<std::uint64_t, CTrail*> live = LivePaths(*g_pDoc);
    std::vector<CTrail*> paths;
    for (std::uint64_t id : g_SelectedTrailIds) {
        const auto found = live.find(id);
        if (found == live.end()) {
            DocUi().PrintLine(CString(u"#轨迹读取失败，请重试"));
            return false;
        }
        paths.push_back(found->second);
    }
    CAtomicFile target;
    if (!target.Open(path))
        return false;
    try {
        CFile file;
        if (!file.Open(target.TempPath(), CFile::modeCreate | CFile::modeWrite))
            throw CFileException(CFileException::genericException);
        CArchive ar(&file, CArchive::store, 4096);
        ar << kDcxMagic << std::int32_t(0) << std::int32_t(0);
        WriteDcxHeader(ar, BuildHeader(*g_pDoc, paths));
        for (size_t k = 0; k < paths.size(); ++k)
            WritePathRecord(ar, *paths[k], static_cast<int>(k));
        ar.Close();
        file.Close();
    } catch (const CException&) {
        target.Abandon();
        return false;
    }
    return target.Commit();
}
