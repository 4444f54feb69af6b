#include "app/recovery_snapshot.h"

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/DocumentUi.h"
#include "app/wcx_file.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"
#include "shared/digest_pair.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kTagSize = 16;

CString SnapshotName()
{
    CString name;
    name.Format(u"%03d", static_cast<int>(g_snapshotIndex));
    return name;
}

// The snapshot through a temporary file, not yet committed; false when
// any step failed.
bool WriteSnapshotFile(CAtomicFile& target, CZorvaDoc& doc)
{
    try {
        CFile file;
        if (!file.Open(target.TempPath(), CFile::modeCreate | CFile::modeWrite))
            return false;
        CArchive ar(&file, CArchive::store, 4096);
        StoreDrawing(ar, doc.m_unitList);
        ar << static_cast<unsigned long long>(g_UnitIdCounter);
        ar << g_snapshotIndex;
        ar.WriteWideString(g_currentFileName);
        ar.WriteWideString(g_currentFilePath);
        ar.Close();
        file.Close();
    } catch (const CException&) {
        target.Abandon();
        return false;
    }
    return true;
}

bool ReadTag(std::uint8_t tag[kTagSize])
{
    if (GetFileSize(RecoveryTagPath()) != kTagSize)
        return false;
    std::ifstream in(NativePath(RecoveryTagPath()), std::ios::binary);
    in.read(reinterpret_cast<char*>(tag), kTagSize);
    return in.gcount() == kTagSize;
}

bool SnapshotMatchesTag()
{
    FinishDigestPair(RecoverySnapshotPath());
    std::uint8_t tag[kTagSize];
    if (!ReadTag(tag) || !FileExists(RecoverySnapshotPath()))
        return false;
    std::uint8_t digest[kTagSize];
    try {
        if (!MD5OfFile(RecoverySnapshotPath().GetString(), digest))
            return false;
    } catch (const CException&) {
        return false;
    }
    return std::memcmp(tag, digest, kTagSize) == 0;
}

struct SnapshotContent {
    CUnitArray units;
    std::uint64_t counter = 0;
    std::uint8_t index = 1;
    CString fileName;
    CString filePath;
};

// Reads the whole snapshot; false (with nothing kept) when any part fails.
bool ReadSnapshot(SnapshotContent& content)
{
    CFile file;
    if (!file.Open(RecoverySnapshotPath(), CFile::modeRead | CFile::shareDenyNone))
        return false;
    try {
        CArchive ar(&file, CArchive::load, 4096);
        if (LoadDrawing(ar, content.units) != WcxLoad::ok)
            return false;
        unsigned long long counter = 0;
        ar >> counter >> content.index;
        content.counter = counter;
        content.fileName = ar.ReadWideString();
        content.filePath = ar.ReadWideString();
        ar.Close();
    } catch (const CException&) {
        FreeUnitArray(content.units);
        return false;
    }
    return true;
}

// The drawing's file comes back with it: Ctrl+S and the caption go with a
// drawing file, as Save leaves them. A drawing without a name had no file,
// whatever path an older snapshot kept beside the empty name (before, the
// restore followed that path, and Ctrl+S wrote over the file saved before
// the drawing was begun anew).
void RestoreFileOf(const SnapshotContent& content, CZorvaDoc& doc)
{
    const bool named = !content.fileName.IsEmpty();
    g_currentFileName = content.fileName;
    g_currentFilePath = named ? content.filePath : CString();
    DocUi().ShowFileName(g_currentFileName);
    CString ext = g_currentFilePath.Right(4);
    ext.MakeLower();
    doc.FollowDrawingFile(ext == CString(u".wcx") ? g_currentFilePath : CString());
}

} // namespace

CString RecoverySnapshotPath()
{
    return MapWindowsPath(CString(g_toolTempDir) + u"\\" + SnapshotName());
}

CString RecoveryTagPath()
{
    return RecoverySnapshotPath() + u"MD5";
}

bool WriteRecoverySnapshot(CZorvaDoc& doc)
{
    std::lock_guard<std::recursive_mutex> lock(doc.m_listMutex);
    g_listBusy = 1;
    doc.FreeDeletedUnits();
    g_listBusy = 0;
    g_snapshotIndex = 1;
    CreateFolder(MapWindowsPath(g_toolTempDir));
    // Before, a snapshot that could not be written still got a fresh tag
    // from the old file and the modified mark was cleared. Both new files
    // are whole before either replaces its old one, so that a save killed
    // in between is completed by the next restore (FinishDigestPair).
    CAtomicFile snapshot, tag;
    if (!snapshot.Open(RecoverySnapshotPath()) || !WriteSnapshotFile(snapshot, doc))
        return false;
    std::uint8_t digest[kTagSize];
    try {
        if (!MD5OfFile(snapshot.TempPath().GetString(), digest))
            return false;
    } catch (const CException&) {
        return false;
    }
    if (!tag.Open(RecoveryTagPath()) || !tag.Write(digest, kTagSize) || !snapshot.Commit() || !tag.Commit())
        return false;
    g_drawingModified = 0;
    return true;
}

bool RestoreRecoverySnapshot(CZorvaDoc& doc)
{
    doc.FreeAllUnits();
    g_undoStep = 0;
    g_snapshotIndex = 1;
    bool restored = false;
    SnapshotContent content;
    if (SnapshotMatchesTag() && ReadSnapshot(content)) {
        doc.ReplaceDrawing(content.units);
        // Ids of restored units are never handed out again.
        g_UnitIdCounter = std::max(content.counter, LargestUnitId(doc.m_unitList));
        g_snapshotIndex = content.index;
        RestoreFileOf(content, doc);
        restored = true;
        // Whether the drawing left had edits its file lacks is not kept:
        // one with anything in it is taken to have them.
        doc.MarkSaved();
        g_unsavedEdits = doc.m_unitList.IsEmpty() ? 0 : 1;
    }
    g_undoStep = 1;
    g_listBusy = 0;
    return restored;
}

void ClearRecoveryTag(CZorvaDoc& doc)
{
    g_drawingModified = 1;
    g_currentFileName.Empty();
    g_currentFilePath.Empty();
    g_UnitIdCounter = 0;
    doc.FreeAllUnits();
    g_snapshotIndex = 1;
    if (FileExists(RecoveryTagPath()))
        DeleteFile(RecoveryTagPath());
}
