#include "app/dxf_import.h"

#include <new>

#include "app/DocumentUi.h"
#include "app/DxfImport.h"
#include "app/wcx_file.h"
#include "platform/core/MappedFile.h"

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
    MappedFile file;
    if (!file.Open(path))
        return ImportResult::notOpened;
    return DXF_ReadBytes(file.Bytes(), out);
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
        // Before, a file that could not be opened was passed over in silence.
        DocUi().PrintLine(u"#打开文件错误");
        return false;
    }
}
