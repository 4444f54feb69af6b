// Seed inputs of the drawing program's entries, written by its own writers:
// drawings with every entity kind (taken from the DXF fixtures, which
// ezdxf made) and a wire path, the snapshot of such a drawing, a path
// export, and the settings file.

#include <cmath>
#include <filesystem>
#include <string>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/dxf_import.h"
#include "app/recovery_snapshot.h"
#include "app/settings_file.h"
#include "app/wcx_file.h"
#include "geometry/CLine.h"
#include "geometry/CutPoint.h"
#include "geometry/GeometryState.h"
#include "paths/CTrail.h"
#include "paths/dcx_export.h"
#include "platform/core/files.h"
#include "tests/support/fuzz/fuzz_draw.h"
#include "tests/support/fuzz/fuzz_seed_drawings.h"
#include "tests/support/fuzz/fuzz_targets.h"
#include "view/ViewState.h"

namespace {

x_TrailData LineElement(double x1, double y1, double x2, double y2)
{
    x_TrailData e;
    e.kind = 1;
    e.start = x_Vector(x1, y1);
    e.end = x_Vector(x2, y2);
    e.length = x_Vector::Distance(e.start, e.end);
    return e;
}

x_TrailData ArcElement(double cx, double cy, double r, double a0, double a1)
{
    x_TrailData e;
    e.kind = 3;
    e.centre = x_Vector(cx, cy);
    e.radius = r;
    e.startAngle = a0;
    e.endAngle = a1;
    e.start = x_Vector(cx + r * std::cos(a0), cy + r * std::sin(a0));
    e.end = x_Vector(cx + r * std::cos(a1), cy + r * std::sin(a1));
    return e;
}

// The drawing's units as the document's own writer stores them.
FuzzBytes WrittenDrawing(DrawFuzzScope& scope, const char* name)
{
    const std::string path = scope.folder + "/" + name;
    FuzzCheck(WriteWcxFile(CString::FromUtf8(path), scope.doc()), "a seed drawing was written");
    return ReadFuzzFile(path);
}

void AddUnit(DrawFuzzScope& scope, CUnit* unit)
{
    scope.doc().m_unitList.Add(unit);
}

} // namespace

CTrail* NewSeedPath(double dx, double dy, bool upper)
{
    ++g_UnitIdCounter;
    auto* path = new CTrail;
    path->role = kRolePath;
    path->complete = 1;
    InitTrailParams(path->params);
    path->params.surfaceCount = upper ? 2 : 1;
    path->params.cutCount = 1;
    path->params.compensation = 0.1;
    path->params.thickness = 20;
    path->trails[0].Add(LineElement(dx, dy, dx + 10, dy));
    path->trails[0].Add(ArcElement(dx + 10, dy + 5, 5, -M_PI / 2, M_PI / 2));
    path->trails[0].Add(LineElement(dx + 10, dy + 10, dx, dy + 10));
    path->trails[0].Add(LineElement(dx, dy + 10, dx, dy));
    if (upper)
        path->trails[1] = path->trails[0];
    path->ComputeExtents();
    return path;
}

void AddSeedCutPoint(CZorvaDoc& doc, x_Vector from, x_Vector to)
{
    ++g_UnitIdCounter;
    auto* point = new CutPoint;
    point->role = kRoleCutPoint;
    point->complete = 1;
    point->StartPoint() = from;
    point->EndPoint() = to;
    point->ComputeExtents();
    doc.m_unitList.Add(point);
}

bool ImportSeedDrawing(const char* dxfName, CUnitArray& out)
{
    const std::string path = std::string(ZORVA_SOURCE_DIR) + "/tests/app/data/" + dxfName;
    return DXF_ReadFile(CString::FromUtf8(path), out) == ImportResult::complete;
}

std::vector<FuzzBytes> WcxSeeds()
{
    std::vector<FuzzBytes> seeds;
    {
        DrawFuzzScope scope;
        seeds.push_back(WrittenDrawing(scope, "empty.wcx"));
        ++g_UnitIdCounter;
        AddUnit(scope, new CLine(0, 0, 30, 20));
        seeds.push_back(WrittenDrawing(scope, "line.wcx"));
        AddUnit(scope, NewSeedPath(0, 0, false));
        AddUnit(scope, NewSeedPath(40, 0, true));
        AddSeedCutPoint(scope.doc(), x_Vector(-5, -5), x_Vector(0, 0));
        seeds.push_back(WrittenDrawing(scope, "paths.wcx"));
    }
    for (const char* dxf : {"kinds_r12.dxf", "kinds_r2018.dxf"}) {
        DrawFuzzScope scope;
        CUnitArray loaded;
        if (!ImportSeedDrawing(dxf, loaded))
            continue;
        scope.doc().ReplaceDrawing(loaded);
        seeds.push_back(WrittenDrawing(scope, "kinds.wcx"));
    }
    return seeds;
}

std::vector<FuzzBytes> SnapshotSeeds()
{
    std::vector<FuzzBytes> seeds;
    DrawFuzzScope scope;
    CUnitArray loaded;
    ImportSeedDrawing("kinds_r12.dxf", loaded);
    scope.doc().ReplaceDrawing(loaded);
    scope.doc().m_unitList.Add(NewSeedPath(0, 0, true));
    g_currentFileName = u"零件.wcx";
    g_currentFilePath = u"/home/u/零件.wcx";
    FuzzCheck(WriteRecoverySnapshot(scope.doc()), "a seed snapshot was written");
    seeds.push_back(ReadFuzzFile(NativePath(RecoverySnapshotPath())));
    return seeds;
}

std::vector<FuzzBytes> DcxSeeds()
{
    std::vector<FuzzBytes> seeds;
    DrawFuzzScope scope;
    AddSeedCutPoint(scope.doc(), x_Vector(-5, -5), x_Vector(0, 0));
    for (int i = 0; i < 3; ++i) {
        CTrail* path = NewSeedPath(20.0 * i, 0, i == 1);
        scope.doc().m_unitList.Add(path);
        g_SelectedTrailIds.Add(path->unitId);
        g_currentFileName = u"件.wcx";
        const std::string file = scope.folder + "/seed" + std::to_string(i) + ".dcx";
        FuzzCheck(WriteDcxFile(CString::FromUtf8(file)), "a seed path export was written");
        seeds.push_back(ReadFuzzFile(file));
    }
    return seeds;
}

std::vector<FuzzBytes> SettingsSeeds()
{
    DrawFuzzScope scope;
    std::vector<FuzzBytes> seeds{BuildSettingsImage()};
    g_ViewScale = 0.5;
    g_ViewOriginX = -1200;
    g_ViewOriginY = 900;
    g_MachiningSettings.passCount = 7;
    seeds.push_back(BuildSettingsImage());
    return seeds;
}

std::vector<FuzzBytes> DxfSeeds()
{
    std::vector<FuzzBytes> seeds;
    const std::filesystem::path folder = std::filesystem::path(ZORVA_SOURCE_DIR) / "tests/app/data";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".dxf")
            seeds.push_back(ReadFuzzFile(entry.path().string()));
    return seeds;
}

// No writer makes ".dat" files; these are the lines other programs write.
std::vector<FuzzBytes> DatSeeds()
{
    const char* texts[] = {
        "L=0,0,10,0;\r\nL=10,0,10,10;\r\nC=5,5,2.5;\r\nA=5,5,10,5,0,5;\r\n",
        "l = -1.5e2 , 3 , 4 , 5\nc=0,0,1\na=0,0,1,0,0,1\n",
        "; comment\nL=0,0,1\n",
    };
    std::vector<FuzzBytes> seeds;
    for (const char* text : texts)
        seeds.emplace_back(text, text + std::char_traits<char>::length(text));
    return seeds;
}
