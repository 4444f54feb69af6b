#include "process/qcx_paths.h"

#include <ctime>

#include "geometry/text_utils.h"
#include "platform/core/files.h"

CString FirstRemovableDrive()
{
    for (const DriveRoot& d : ListDriveRoots())
        if (d.removable)
            return d.path;
    return CString();
}

CString DefaultQcxFolder()
{
    const std::vector<DriveRoot> roots = ListDriveRoots();
    for (const DriveRoot& d : roots)
        if (d.removable)
            return d.path;
    // The second entry is the home folder (the first is the root).
    return roots.size() > 1 ? roots[1].path : roots.front().path;
}

CString QcxSizeText(std::int64_t bytes)
{
    CString text;
    if (bytes < 1024) {
        text.Format(u"%d", int(bytes));
        return text;
    }
    if (bytes < 1048576)
        return FormatNumberPrec(2, double(bytes) / 1024.0) + u"K";
    return FormatNumberPrec(2, double(bytes) / 1048576.0) + u"M";
}

CString FormatFileTime(std::int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    CString text;
    text.Format(u"%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

CString WithTrailingSeparator(const CString& folder)
{
    if (!folder.IsEmpty() && (folder[folder.GetLength() - 1] == u'/' || folder[folder.GetLength() - 1] == u'\\'))
        return folder;
    return folder + u"/";
}
