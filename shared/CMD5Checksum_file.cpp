#include "shared/CMD5Checksum.h"

#include "platform/core/CFile.h"
#include "platform/core/exceptions.h"

#include <cstring>

bool MD5OfFile(const char16_t* path, uint8_t out[16])
{
    if (path == nullptr)
        return false;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return false;
    CMD5Checksum md5;
    uint8_t chunk[1024];
    for (;;) {
        unsigned n = file.Read(chunk, sizeof chunk);
        if (n == 0)
            break;
        md5.Update(chunk, n);
    }
    uint8_t digest[16];
    md5.Final(digest);
    std::memcpy(out, digest, sizeof digest);
    return true;
}
