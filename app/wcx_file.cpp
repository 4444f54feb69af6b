#include "app/wcx_file.h"

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/DocumentUi.h"
#include "geometry/CArc.h"
#include "geometry/CCir.h"
#include "geometry/CConstructionLine.h"
#include "geometry/CDimAngle.h"
#include "geometry/CDimArc.h"
#include "geometry/CDimCir.h"
#include "geometry/CDimDASH.h"
#include "geometry/CDimLine.h"
#include "geometry/CDimLinear.h"
#include "geometry/CDimPLine.h"
#include "geometry/CEllipse.h"
#include "geometry/CEllipseArc.h"
#include "geometry/CLine.h"
#include "geometry/CPolyLine.h"
#include "geometry/CPolygon.h"
#include "geometry/CRectangle.h"
#include "geometry/CSplines.h"
#include "geometry/CText.h"
#include "geometry/CUnit.h"
#include "geometry/CutPoint.h"
#include "platform/core/CArchive.h"
#include "platform/core/CFile.h"
#include "platform/core/files.h"

#include <algorithm>

namespace {

// The entity classes of the geometry library, named here so that the linker
// keeps their class records (the reader finds classes by name). Classes of
// later libraries (wire paths) register through their own users.
const CRuntimeClass* const kEntityClasses[] = {
    RUNTIME_CLASS(CUnit),
    RUNTIME_CLASS(CLine),
    RUNTIME_CLASS(CArc),
    RUNTIME_CLASS(CCir),
    RUNTIME_CLASS(CConstructionLine),
    RUNTIME_CLASS(CutPoint),
    RUNTIME_CLASS(CEllipse),
    RUNTIME_CLASS(CEllipseArc),
    RUNTIME_CLASS(CSplines),
    RUNTIME_CLASS(CText),
    RUNTIME_CLASS(CPolyLine),
    RUNTIME_CLASS(CPolygon),
    RUNTIME_CLASS(CRectangle),
    RUNTIME_CLASS(CDimLine),
    RUNTIME_CLASS(CDimLinear),
    RUNTIME_CLASS(CDimCir),
    RUNTIME_CLASS(CDimArc),
    RUNTIME_CLASS(CDimAngle),
    RUNTIME_CLASS(CDimDASH),
    RUNTIME_CLASS(CDimPLine),
};

} // namespace

bool IsEntityClass(const CRuntimeClass* cls)
{
    if (cls == nullptr)
        return false;
    for (const CRuntimeClass* known : kEntityClasses) {
        if (cls == known)
            return true;
    }
    return cls->IsDerivedFrom(RUNTIME_CLASS(CUnit));
}

bool IsSavedUnit(const CUnit* unit)
{
    return unit != nullptr && !unit->deleted && !unit->temporary;
}

void StoreDrawing(CArchive& ar, const CUnitArray& units)
{
    // Before, erased units and the sources that edits replaced were written
    // too, and came back when the file was opened.
    ar << kWcxMagic << kWcxVersion;
    const auto saved = static_cast<size_t>(std::count_if(units.begin(), units.end(), IsSavedUnit));
    ar.WriteCount(saved);
    for (CUnit* unit : units)
        if (IsSavedUnit(unit))
            ar.WriteObject(unit);
}

void FreeUnitArray(CUnitArray& units)
{
    for (CUnit* unit : units)
        delete unit;
    units.RemoveAll();
}

WcxLoad LoadDrawing(CArchive& ar, CUnitArray& out, DrawingBox* box)
{
    std::int32_t magic = 0;
    ar >> magic;
    if (magic != kWcxMagic)
        return WcxLoad::badMagic;
    std::int32_t version = 0;
    ar >> version;
    if (version != kWcxVersion)
        return WcxLoad::badVersion;
    // Before, any registered class and references to objects already read
    // were taken into the drawing list.
    ar.SetLoadFilter(IsEntityClass, false, false);
    try {
        size_t count = ar.ReadCount();
        // A unit takes at least its tag and the common record, which bounds
        // the room reserved by the file's size.
        ar.CheckCount(count, 2 + kUnitRecordSize);
        out.Reserve(static_cast<int>(count));
        for (size_t i = 0; i < count; ++i) {
            auto* unit = static_cast<CUnit*>(ar.ReadObject(RUNTIME_CLASS(CUnit)));
            out.Add(unit);
            if (box != nullptr)
                box->Add(unit);
        }
    } catch (...) {
        ar.ClearLoadFilter();
        FreeUnitArray(out);
        throw;
    }
    ar.ClearLoadFilter();
    return WcxLoad::ok;
}

std::uint64_t LargestUnitId(const CUnitArray& units)
{
    std::uint64_t largest = 0;
    for (const CUnit* unit : units)
        largest = std::max(largest, unit->unitId);
    return largest;
}

bool WriteWcxFile(const CString& path, CZorvaDoc& doc, std::string* error)
{
    CAtomicFile target;
    if (!target.Open(path)) {
        if (error != nullptr)
            *error = target.Error();
        return false;
    }
    try {
        CFile file;
        if (!file.Open(target.TempPath(), CFile::modeCreate | CFile::modeWrite))
            throw CFileException(CFileException::genericException);
        CArchive ar(&file, CArchive::store, 4096);
        {
            std::lock_guard<std::recursive_mutex> lock(doc.m_listMutex);
            StoreDrawing(ar, doc.m_unitList);
        }
        ar.Close();
        file.Close();
    } catch (const CException& e) {
        target.Abandon();
        if (error != nullptr)
            *error = e.What();
        return false;
    }
    if (!target.Commit()) {
        if (error != nullptr)
            *error = target.Error();
        return false;
    }
    g_drawingModified = 0;
    doc.MarkSaved();
    return true;
}

WcxRead ReadWcxFile(const CString& path, CUnitArray& out, DrawingBox* box)
{
    if (!FileExists(path))
        return WcxRead::missing;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return WcxRead::missing;
    try {
        if (file.GetLength() <= 4) {
            DocUi().PrintLine(u"#打开文件错误");
            return WcxRead::tooShort;
        }
        CArchive ar(&file, CArchive::load, 4096);
        WcxLoad result = LoadDrawing(ar, out, box);
        ar.Close();
        if (result == WcxLoad::badMagic) {
            if (g_viewReady)
                DocUi().PrintLine(u"#不是有效的.wcx文件");
            return WcxRead::badMagic;
        }
        if (result == WcxLoad::badVersion) {
            if (g_viewReady)
                DocUi().PrintLine(u"#文件版本号不相同，无法读取");
            return WcxRead::badVersion;
        }
    } catch (const CException&) {
        FreeUnitArray(out);
        return WcxRead::damaged;
    }
    return WcxRead::loaded;
}
