#include "link/machine_table.h"

#include "link/link_helpers.h"
#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"
#include "platform/core/exceptions.h"
#include "platform/core/files.h"

namespace {

CString CutAtFirstDot(const CString& name)
{
    int dot = name.Find(u'.');
    return dot < 0 ? name : name.Left(dot);
}

// Longest folder text a scheme may carry (the platform's path limit).
constexpr int kMaxFolderText = 259;

} // namespace

CString SchemePath(const CString& name)
{
    return MapWindowsPath(CString(u".\\Data\\") + name + u".dat", ZorvaProgram::Link);
}

bool SaveScheme(const CString& name)
{
    const CString cut = CutAtFirstDot(name);
    if (cut.IsEmpty())
        return false;
    CreateFolder(MapWindowsPath(u".\\Data", ZorvaProgram::Link));
    // Written beside the old file and renamed over it: a failure keeps the
    // old scheme whole.
    CAtomicFile target;
    if (!target.Open(SchemePath(cut)))
        return false;
    try {
        CFile file(target.TempPath(), CFile::modeWrite | CFile::modeCreate);
        CArchive ar(&file, CArchive::store);
        ar.WriteCount(g_Machines.size());
        if (!g_Machines.empty())
            ar.Write(g_Machines.data(), static_cast<unsigned>(g_Machines.size() * sizeof(_ClientPack)));
        ar << g_SchemeFolderText;
        ar.Close();
        file.Close();
    } catch (const CException&) {
        target.Abandon();
        return false;
    }
    return target.Commit();
}

bool LoadScheme(const CString& name)
{
    if (name.IsEmpty())
        return false;
    const CString path = SchemePath(name);
    if (!FileExists(path))
        return false;
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return false;
    try {
        CArchive ar(&file, CArchive::load);
        const size_t count = ar.ReadCount();
        // A count the file cannot hold is damage, not a reason to allocate.
        if (count > ar.BytesLeft() / sizeof(_ClientPack))
            throw CArchiveException(CArchiveException::endOfFile);
        std::vector<_ClientPack> records(count);
        if (count > 0 && ar.Read(records.data(), static_cast<unsigned>(count * sizeof(_ClientPack))) != count * sizeof(_ClientPack))
            throw CArchiveException(CArchiveException::endOfFile);
        CString folder;
        ar >> folder;
        // Taken only when the whole file was read: before, a file cut in its
        // folder text replaced the machines and was reported as not loaded.
        g_Machines = std::move(records);
        g_SchemeFolderText = folder.Left(kMaxFolderText);
    } catch (const CException&) {
        return false;
    }
    return true;
}

void ListSchemeFiles(std::vector<CString>& names)
{
    for (const FileEntry& e : ListFolder(MapWindowsPath(u".\\Data\\*.dat", ZorvaProgram::Link)))
        if (!e.isFolder && !e.name.IsEmpty() && e.name[0] != u'.')
            names.push_back(e.name);
}
