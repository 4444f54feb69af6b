#include "app/dxf_import.h"

#include <cstdio>
#include <new>
#include <string>

#include "app/DocumentUi.h"
#include "app/DxfImport.h"
#include "app/wcx_file.h"
#include "platform/core/files.h"

namespace {

bool ReadWholeFile(const CString& path, std::string& bytes)
{
    if (!FileExists(path))
        return false;
    std::FILE* f = std::fopen(NativePath(MapWindowsPath(path)).c_str(), "rb");
    if (f == nullptr)
        return false;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, got);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

} // namespace

ImportResult DXF_ReadBytes(std::string_view bytes, CUnitArray& out)
{
    ImportIdScope ids;
    bool readable = false;
    try {
        DxfImport import(out);
        readable = import.Read(bytes);
    } catch (const std::bad_alloc&) {
        readable = false;
    }
    if (!readable) {
        FreeUnitArray(out);
        return ImportResult::damaged;
    }
    ids.Keep();
    return ImportResult::complete;
}

ImportResult DXF_ReadFile(const CString& path, CUnitArray& out)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return ImportResult::notOpened;
    return DXF_ReadBytes(bytes, out);
}

bool ImportDxfFile(const CString& path, CUnitArray& out)
{
    switch (DXF_ReadFile(path, out)) {
    case ImportResult::complete:
        ReportImportedDrawing(path, out);
        return true;
    case ImportResult::damaged:
        DocUi().PrintLine(u"#文件错误!");
        return false;
    default:
        return false;
    }
}
