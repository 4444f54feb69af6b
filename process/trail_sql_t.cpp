#include "process/trail_sql_t.h"

#include <cstring>
#include <string_view>

#include "platform/core/codepage.h"

CString MaterialText(const trail_sql_t& record)
{
    // A record from another program may fill the field without a zero.
    const std::size_t length = strnlen(record.material, sizeof(record.material));
    const std::size_t kept = GbkPrefixLength(std::string_view(record.material, length), length);
    return CString(GbkToUtf16(std::string_view(record.material, kept)));
}

void SetMaterialText(trail_sql_t& record, const CString& text)
{
    std::memset(record.material, 0, sizeof(record.material));
    const std::string gbk = Utf16ToGbk(std::u16string_view(text.GetString()));
    const std::size_t kept = GbkPrefixLength(gbk, kMaterialBytes - 1);
    std::memcpy(record.material, gbk.data(), kept);
}
