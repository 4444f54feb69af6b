#include "app/settings_file.h"

#include "app/AppState.h"
#include "geometry/GeometryState.h"
#include "geometry/view_transform.h"
#include "platform/core/files.h"
#include "shared/CMD5Checksum.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace {

constexpr std::size_t kDigestOffset = 8;
constexpr std::size_t kDigestSize = 16;
constexpr double kFactoryViewScale = 10.0;

// One block of the body: where it lies in the file and in memory.
struct BlockRef {
    std::size_t fileOffset;
    void* data;
    std::size_t size;
};

// The view block is gathered from separate globals.
ViewBlock CurrentViewBlock()
{
    return ViewBlock{g_CutTypeIndex, g_ViewBlockReserved, g_ViewScale, g_ViewOriginX, g_ViewOriginY};
}

// A scale that is no positive number takes the factory value, and the
// origin stays where the marks drawn around it cannot overflow (a file
// with an origin of -2147483648 made the axes' ends wrap).
void ApplyViewBlock(const ViewBlock& view)
{
    g_CutTypeIndex = view.cutTypeIndex;
    g_ViewBlockReserved = view.reserved;
    g_ViewScale = std::isfinite(view.viewScale) && view.viewScale > 0 ? view.viewScale : kFactoryViewScale;
    g_ViewOriginX = ClampViewOrigin(view.viewOriginX);
    g_ViewOriginY = ClampViewOrigin(view.viewOriginY);
}

// The nine blocks after the view block, in file order.
std::vector<BlockRef> BodyBlocks()
{
    return {
        {48, &g_MachiningSettings, sizeof(g_MachiningSettings)},
        {1824, &g_CutParams, sizeof(g_CutParams)},
        {1864, &g_DrawingSettings, sizeof(g_DrawingSettings)},
        {2012, &g_CalcInputs, sizeof(g_CalcInputs)},
        {2220, &g_ArraySettings, sizeof(g_ArraySettings)},
        {2316, &g_CommandModes, sizeof(g_CommandModes)},
        {2333, &g_FileDialogBlock, sizeof(g_FileDialogBlock)},
        {2339, &g_GearParams, sizeof(g_GearParams)},
        {2395, &g_RackParams, sizeof(g_RackParams)},
    };
}

void Digest(const std::uint8_t* body, std::size_t size, std::uint8_t out[kDigestSize])
{
    MD5OfBuffer(out, size, body);
}

// Far above the file's 2443 bytes: a larger file is no settings file and
// is never read into memory. Before, the whole file was read first, and a
// 512 MB one cost a gigabyte and most of a minute at start-up.
constexpr std::int64_t kLargestSettingsFile = 64 * 1024;

// Reads a candidate file whole; empty when it is missing, shorter than the
// header, too large, or its digest does not match its body.
std::vector<std::uint8_t> ReadCandidate(const CString& path)
{
    const std::int64_t size = GetFileSize(path);
    if (size < std::int64_t(kSettingsBodyOffset) || size > kLargestSettingsFile)
        return {};
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in)
        return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size)
        return {};
    std::uint8_t digest[kDigestSize];
    Digest(bytes.data() + kSettingsBodyOffset, bytes.size() - kSettingsBodyOffset, digest);
    if (std::memcmp(digest, bytes.data() + kDigestOffset, kDigestSize) != 0)
        return {};
    return bytes;
}

// The edit defaults that the entities read live in geometry globals.
void CopyEditSettingsToBlock()
{
    g_MachiningSettings.polygonSides = g_PolygonSides;
    g_MachiningSettings.wavePeak = g_WavePeak;
    g_MachiningSettings.filletRadius = g_FilletRadius;
    g_MachiningSettings.chamferDist1 = g_ChamferDist1;
    g_MachiningSettings.chamferDist2 = g_ChamferDist2;
    for (const SettingsSync& sync : g_SettingsSyncs) {
        if (sync.toBlocks != nullptr)
            sync.toBlocks();
    }
}

void CopyEditSettingsFromBlock()
{
    g_PolygonSides = g_MachiningSettings.polygonSides;
    g_WavePeak = g_MachiningSettings.wavePeak;
    g_FilletRadius = g_MachiningSettings.filletRadius;
    g_ChamferDist1 = g_MachiningSettings.chamferDist1;
    g_ChamferDist2 = g_MachiningSettings.chamferDist2;
    for (const SettingsSync& sync : g_SettingsSyncs) {
        if (sync.fromBlocks != nullptr)
            sync.fromBlocks();
    }
}

void ApplyImage(const std::vector<std::uint8_t>& bytes)
{
    ViewBlock view;
    std::memcpy(&view, bytes.data() + kSettingsBodyOffset, sizeof(view));
    ApplyViewBlock(view);
    for (const BlockRef& block : BodyBlocks())
        std::memcpy(block.data, bytes.data() + block.fileOffset, block.size);
    // Paths hold seven cuts: a stored pass count outside 1..7 is not taken.
    g_MachiningSettings.passCount = ClampPassCount(g_MachiningSettings.passCount);
    CopyEditSettingsFromBlock();
}

void RememberLoadedView()
{
    g_loadedViewScale = g_ViewScale;
    g_loadedViewOriginX = g_ViewOriginX;
    g_loadedViewOriginY = g_ViewOriginY;
}

void SetFactoryArraySettings(ArraySettings& a)
{
    a.countX = 3;
    a.countY = 3;
    a.spacingX = 10.0;
    a.spacingY = 10.0;
    a.foldRows = 0;
    a.startCorner = 0;
    a.centreX = 0.0;
    a.centreY = 0.0;
    a.radius = 100.0;
    a.polarCount = 6;
    a.fillAngle = 360.0;
    a.startAngle = 0.0;
    a.reverse = 0;
    a.extraAngle = 0.0;
}

void SetFactoryGearParams(GearParams& g)
{
    g.teeth = 18;
    g.moduleIndex = 4;
    g.alphaIndex = 0;
    g.haIndex = 0;
    g.cIndex = 0;
    g.internal = 0;
    g.byCount = 0;
    g.tipFilletOn = 1;
    g.rootFilletOn = 1;
    g.reserved24 = 0.0;
    g.reserved32 = 0.0;
    g.shift = 0.0;
    g.startAngle = 0.0;
}

void SetFactoryRackParams(RackParams& r)
{
    r.teeth = 18;
    r.moduleIndex = 4;
    r.alphaIndex = 0;
    r.haIndex = 0;
    r.cIndex = 0;
    r.tipFilletOn = 1;
    r.rootFilletOn = 1;
    r.reserved24 = 0.0;
    r.reserved32 = 0.0;
    r.shift = 0.0;
}

} // namespace

void ResetSettingsDefaults()
{
    g_CutTypeIndex = 0;
    g_ViewBlockReserved = 0;
    g_ViewScale = kFactoryViewScale;
    g_ViewOriginX = 0;
    g_ViewOriginY = 0;
    SetFactoryMachiningSettings(g_MachiningSettings);
    SetDefaultDrawingSettings();
    std::memset(&g_CalcInputs, 0, sizeof(g_CalcInputs));
    SetFactoryArraySettings(g_ArraySettings);
    std::memset(&g_CommandModes, 0, sizeof(g_CommandModes));
    g_FileDialogBlock.openTypeIndex = 0;
    g_FileDialogBlock.saveTypeIndex = 0;
    g_FileDialogBlock.dialogWord = 0;
    SetFactoryGearParams(g_GearParams);
    SetFactoryRackParams(g_RackParams);
    g_GearPage = 0;

    CopyEditSettingsFromBlock();
    g_CutMode = 0;
    g_PropertyPanelShown = 0;
    g_openHintShown = 0;
    if (g_ResetRuntimeSettingsHook != nullptr)
        g_ResetRuntimeSettingsHook();
}

void ResetProcessDefaults()
{
    SetFactoryCutTables(g_MachiningSettings);
    SetFactoryCutParams(g_CutParams);
}

void RestoreDefaultSettings()
{
    ResetSettingsDefaults();
    SetFactoryCutTables(g_MachiningSettings);
    g_SettingsDirty = 1;
}

std::vector<std::uint8_t> BuildSettingsImage()
{
    CopyEditSettingsToBlock();
    std::vector<std::uint8_t> bytes(kSettingsFileSize, 0);
    ViewBlock view = CurrentViewBlock();
    std::memcpy(bytes.data() + kSettingsBodyOffset, &view, sizeof(view));
    for (const BlockRef& block : BodyBlocks())
        std::memcpy(bytes.data() + block.fileOffset, block.data, block.size);
    Digest(bytes.data() + kSettingsBodyOffset, kSettingsBodySize, bytes.data() + kDigestOffset);
    return bytes;
}

CString SettingsFilePath()
{
    return MapWindowsPath(CString(g_dataDir) + u"\\config");
}

CString SettingsBackupPath()
{
    return MapWindowsPath(CString(g_dataDir) + u"\\config_back");
}

bool LoadSettingsFile()
{
    bool loaded = false;
    std::vector<std::uint8_t> bytes = ReadCandidate(SettingsFilePath());
    bool fromBackup = false;
    if (bytes.empty()) {
        bytes = ReadCandidate(SettingsBackupPath());
        fromBackup = !bytes.empty();
    }
    if (bytes.size() >= kSettingsFileSize) {
        ApplyImage(bytes);
        if (fromBackup) {
            CreateFolder(MapWindowsPath(g_dataDir));
            WriteFileAtomic(SettingsFilePath(), bytes);
        }
        g_settingsLoaded = 1;
        loaded = true;
    }
    RememberLoadedView();
    return loaded;
}

bool SaveSettingsFile()
{
    std::vector<std::uint8_t> bytes = BuildSettingsImage();
    CreateFolder(MapWindowsPath(g_dataDir));
    bool mainOk = WriteFileAtomic(SettingsFilePath(), bytes);
    bool backupOk = WriteFileAtomic(SettingsBackupPath(), bytes);
    return mainOk && backupOk;
}

bool SaveSettingsIfChanged()
{
    const bool viewMoved = g_ViewScale != g_loadedViewScale || g_ViewOriginX != g_loadedViewOriginX ||
                           g_ViewOriginY != g_loadedViewOriginY;
    if (!viewMoved && !g_SettingsDirty)
        return true;
    g_SettingsDirty = 0;
    return SaveSettingsFile();
}
