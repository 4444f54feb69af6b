// Entries of the drawing program's readers: a drawing, a DXF or a ".dat"
// file opened as the command line opens it (then fitted and drawn, as the
// view does after a load), the recovery snapshot restored at start-up, and
// the settings file loaded at start-up.

#include "tests/support/fuzz/fuzz_draw.h"

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/AppState.h"
#include "app/CZorvaDoc.h"
#include "app/DocumentUi.h"
#include "app/recovery_snapshot.h"
#include "app/settings_file.h"
#include "geometry/CUnit.h"
#include "geometry/GeometryState.h"
#include "geometry/text_utils.h"
#include "geometry/view_transform.h"
#include "platform/core/files.h"
#include "platform/gdi/CDC.h"
#include "shared/CMD5Checksum.h"
#include "tests/support/fuzz/fuzz_targets.h"
#include "view/ViewState.h"
#include "wirepath/WirepathState.h"

namespace {

constexpr int kCanvasWidth = 160;
constexpr int kCanvasHeight = 120;

// The view's part of a load, without a window: what AfterDrawingLoaded
// and the next frame do with the drawing.
class CanvasUi : public DocumentUi {
public:
    void PrintLine(const CString&) override {}
    void PrintSeparator() override {}
    void ShowFileName(const CString&) override {}
    void SetPromptLine(const CString&) override {}
    void AfterDrawingLoaded() override { DrawLoadedDrawing(); }
};

QImage& Canvas()
{
    static QImage image(kCanvasWidth, kCanvasHeight, QImage::Format_RGB16);
    return image;
}

void AimRaster()
{
    QImage& image = Canvas();
    g_RasterWidth = image.width();
    g_RasterHeight = image.height();
    g_RasterStride = static_cast<int>(image.bytesPerLine());
    g_ViewClientRect = {0, 0, image.width(), image.height()};
    g_clientRect = g_ViewClientRect;
    g_defaultOriginX = image.width() / 2;
    g_defaultOriginY = image.height() / 2;
}

} // namespace

DrawFuzzScope::DrawFuzzScope()
{
    InitFuzzProcess();
    ResetGeometryState();
    ResetAppState();
    ResetViewState();
    ResetWirepathState();
    ResetSettingsDefaults();
    ResetProcessDefaults();
    AimRaster();
    g_viewReady = 1;
    m_ui = new CanvasUi;
    g_pDocUi = m_ui;
    m_doc = new CZorvaDoc;
    folder = NativePath(DataRoot()) + "/fuzz";
    CreateFolder(CString::FromUtf8(folder));
}

DrawFuzzScope::~DrawFuzzScope()
{
    delete m_doc;
    g_pDocUi = nullptr;
    delete m_ui;
    ResetAppState();
    ResetGeometryState();
}

void CheckViewTransform()
{
    FuzzCheck(std::isfinite(g_ViewScale) && g_ViewScale > 0, "the view scale is a positive number");
    FuzzCheck(std::abs(std::int64_t(g_ViewOriginX)) <= kViewOriginLimit &&
                  std::abs(std::int64_t(g_ViewOriginY)) <= kViewOriginLimit,
              "the view origin leaves room for the marks drawn around it");
}

void DrawLoadedDrawing()
{
    CheckViewTransform();
    UpdateGlyphSizes();
    if (g_pDoc == nullptr)
        return;
    QImage& image = Canvas();
    image.fill(0);
    CDC dc;
    if (!dc.AttachImage(&image))
        return;
    for (CUnit* u : g_pDoc->m_unitList) {
        if (u->deleted || !u->complete || !u->visible)
            continue;
        g_DashPhase = 0;
        u->Draw(&dc, 1, image.bits());
    }
}

void OpenAsCommandLineFile(const char* name, const std::uint8_t* data, std::size_t size)
{
    DrawFuzzScope scope;
    const std::string path = scope.folder + "/" + name;
    WriteFuzzFile(path, data, size);
    scope.doc().OpenFromCommandLine(CString::FromUtf8(path));
}

void FuzzWcx(const std::uint8_t* data, std::size_t size)
{
    OpenAsCommandLineFile("in.wcx", data, size);
}

void FuzzDxf(const std::uint8_t* data, std::size_t size)
{
    OpenAsCommandLineFile("in.dxf", data, size);
}

void FuzzDat(const std::uint8_t* data, std::size_t size)
{
    OpenAsCommandLineFile("in.dat", data, size);
}

// The snapshot with a tag that matches it: a damaged snapshot under a
// good tag is the case that reaches the reader.
void FuzzSnapshot(const std::uint8_t* data, std::size_t size)
{
    DrawFuzzScope scope;
    CreateFolder(PathFolderPart(RecoverySnapshotPath()));
    WriteFuzzFile(NativePath(RecoverySnapshotPath()), data, size);
    std::uint8_t tag[16];
    MD5OfBuffer(tag, size, data);
    WriteFuzzFile(NativePath(RecoveryTagPath()), tag, sizeof tag);
    if (RestoreRecoverySnapshot(scope.doc())) {
        scope.doc().FitViewToDrawing();
        DrawLoadedDrawing();
    }
}

// The main file with its digest made to match (the body is what matters),
// and the same bytes as they came as the backup.
void FuzzSettings(const std::uint8_t* data, std::size_t size)
{
    DrawFuzzScope scope;
    CreateFolder(PathFolderPart(SettingsFilePath()));
    FuzzBytes main(data, data + size);
    if (main.size() >= kSettingsBodyOffset)
        MD5OfBuffer(main.data() + 8, main.size() - kSettingsBodyOffset, main.data() + kSettingsBodyOffset);
    WriteFuzzFile(NativePath(SettingsFilePath()), main.data(), main.size());
    WriteFuzzFile(NativePath(SettingsBackupPath()), data, size);
    LoadSettingsFile();
    // What the view does with the loaded block before its first frame.
    ClampViewScale();
    ScreenToWorld(0, 0);
    ScreenToWorld(kCanvasWidth, kCanvasHeight);
    DrawLoadedDrawing();
}
