#include "process/process_table.h"

#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

#include "app/AppState.h"
#include "app/MachiningSettings.h"
#include "geometry/text_utils.h"
#include "platform/core/files.h"
#include "process/ProcessState.h"
#include "shared/CMD5Checksum.h"
#include "shared/digest_pair.h"

namespace {

constexpr std::size_t kRecordSize = sizeof(trail_sql_t);
constexpr std::size_t kDigestSize = 16;
constexpr int kHighestProcessNo = 1000;
constexpr std::uint16_t kLongCount = 0xFFFF;
// Far above any real table (1000 records are 440 KB); a larger file is no
// table and is not read into memory.
constexpr std::int64_t kLargestFile = 64 * 1024 * 1024;

bool ReadWholeFile(const CString& path, std::vector<std::uint8_t>& bytes)
{
    const std::int64_t size = GetFileSize(path);
    if (size < 0 || size > kLargestFile)
        return false;
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in)
        return false;
    bytes.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    return in.gcount() == size;
}

bool ReadCompanion(const CString& tablePath, std::uint8_t digest[kDigestSize])
{
    std::vector<std::uint8_t> bytes;
    if (GetFileSize(CompanionPath(tablePath)) != std::int64_t(kDigestSize) ||
        !ReadWholeFile(CompanionPath(tablePath), bytes) || bytes.size() != kDigestSize)
        return false;
    std::memcpy(digest, bytes.data(), kDigestSize);
    return true;
}

// The records of a table file that passes its check, else nullopt.
std::optional<std::vector<trail_sql_t>> ReadCheckedTable(const CString& path)
{
    FinishDigestPair(path);
    std::uint8_t expected[kDigestSize];
    std::vector<std::uint8_t> bytes;
    if (!ReadCompanion(path, expected) || !ReadWholeFile(path, bytes))
        return std::nullopt;
    // The digest of the very bytes that are decoded, not of a second read.
    std::uint8_t digest[kDigestSize];
    MD5OfBuffer(digest, bytes.size(), bytes.data());
    if (std::memcmp(digest, expected, kDigestSize) != 0)
        return std::nullopt;
    return DecodeProcessTable(bytes);
}

bool Fail(std::string* error, const std::string& why)
{
    if (error != nullptr)
        *error = why;
    return false;
}

bool CopyFileBytes(const CString& from, const CString& to, std::string* error)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(from, bytes))
        return Fail(error, "cannot read " + from.ToUtf8());
    return WriteFileAtomic(to, bytes, error);
}

} // namespace

CString ProcessTableNameFor(std::uint8_t codingMode)
{
    switch (codingMode) {
    case kCodingMidWireHl: return CString(u"sql_list_h1");
    case kCodingHfGroup: return CString(u"sql_list_f1");
    case kCodingHfClass2: return CString(u"sql_list_f2");
    case kCodingHfClass4: return CString(u"sql_list_f3");
    default: return CString();
    }
}

CString ProcessTablePath()
{
    return MapWindowsPath(CString(g_dataDir) + u"\\" + g_ProcessTableName);
}

CString CompanionPath(const CString& tablePath)
{
    return tablePath + u"MD5";
}

std::optional<std::vector<trail_sql_t>> DecodeProcessTable(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 2)
        return std::nullopt;
    std::size_t count = std::size_t(bytes[0]) | std::size_t(bytes[1]) << 8;
    std::size_t header = 2;
    if (count == kLongCount) {
        if (bytes.size() < 6)
            return std::nullopt;
        count = std::size_t(bytes[2]) | std::size_t(bytes[3]) << 8 | std::size_t(bytes[4]) << 16 |
                std::size_t(bytes[5]) << 24;
        header = 6;
    }
    // The size decides before anything is allocated: the count alone could
    // promise four billion records.
    if ((bytes.size() - header) % kRecordSize != 0 || (bytes.size() - header) / kRecordSize != count)
        return std::nullopt;
    std::vector<trail_sql_t> records(count);
    if (count > 0)
        std::memcpy(records.data(), bytes.data() + header, count * kRecordSize);
    // A record holds seven cuts; a count outside 1..7 would pick cuts that
    // are not there.
    for (trail_sql_t& r : records)
        r.cutCount = ClampPassCount(r.cutCount);
    return records;
}

std::vector<std::uint8_t> EncodeProcessTable(const std::vector<trail_sql_t>& records)
{
    std::vector<std::uint8_t> bytes;
    const std::size_t n = records.size();
    if (n < kLongCount) {
        bytes = {std::uint8_t(n), std::uint8_t(n >> 8)};
    } else {
        bytes = {0xFF, 0xFF, std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
    }
    const std::size_t header = bytes.size();
    bytes.resize(header + n * kRecordSize);
    for (std::size_t i = 0; i < n; ++i) {
        trail_sql_t r = records[i];
        std::memset(r.pad4, 0, sizeof(r.pad4));
        std::memset(r.pad156, 0, sizeof(r.pad156));
        std::memcpy(bytes.data() + header + i * kRecordSize, &r, kRecordSize);
    }
    return bytes;
}

TableLoad LoadProcessTable(const CString& path)
{
    if (!FileExists(path))
        return TableLoad::missing;
    std::optional<std::vector<trail_sql_t>> records = ReadCheckedTable(path);
    if (!records)
        return TableLoad::rejected;
    g_ProcessTable = std::move(*records);
    return TableLoad::loaded;
}

bool TableFileIntact(const CString& path)
{
    return ReadCheckedTable(path).has_value();
}

CString BackupPathFor(const CString& path)
{
    CString backup = path + u".bak";
    for (int n = 2; FileExists(backup) || FolderExists(backup); ++n)
        backup.Format(u"%s.bak%d", path.GetString(), n);
    return backup;
}

bool SaveProcessTable(const CString& path, std::string* error)
{
    CreateFolder(PathFolderPart(path));
    // Before, a table that failed its check (a lost companion, say) was
    // overwritten by whatever the dialog held, often nothing.
    if (FileExists(path) && !TableFileIntact(path) && !CopyFileBytes(path, BackupPathFor(path), error))
        return false;
    const std::vector<std::uint8_t> bytes = EncodeProcessTable(g_ProcessTable);
    std::uint8_t digest[kDigestSize];
    MD5OfBuffer(digest, bytes.size(), bytes.data());
    // Both new files are complete before either replaces its old one; the
    // table used to be truncated in place before its companion was written.
    CAtomicFile table, companion;
    if (!table.Open(path) || !table.Write(bytes.data(), bytes.size()))
        return Fail(error, table.Error());
    if (!companion.Open(CompanionPath(path)) || !companion.Write(digest, kDigestSize))
        return Fail(error, companion.Error());
    // The table's rename replaces the pair: a save stopped after it, by a
    // kill or a power cut, is completed by the next read from the
    // companion's temporary (FinishDigestPair), which must be on the disk
    // by then. Before, it was synced only after the table's rename.
    if (!companion.Sync())
        return Fail(error, companion.Error());
    if (!table.Commit())
        return Fail(error, table.Error());
    if (!companion.Commit())
        return Fail(error, companion.Error());
    return true;
}

int NextProcessNumber(const std::vector<trail_sql_t>& records)
{
    bool used[kHighestProcessNo + 1] = {};
    for (const trail_sql_t& r : records)
        if (r.processNo >= 1 && r.processNo <= kHighestProcessNo)
            used[r.processNo] = true;
    for (int n = 1; n <= kHighestProcessNo; ++n)
        if (!used[n])
            return n;
    return 0;
}

QcxImport ImportQcxFile(const CString& path)
{
    const std::int64_t size = GetFileSize(path);
    if (size < 0)
        return QcxImport::unreadable;
    if (size < 4)
        return QcxImport::tooShort;
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return size > kLargestFile ? QcxImport::badFormat : QcxImport::unreadable;
    // Before, any file was read with its count driving the allocation, and
    // a short one left the table half replaced.
    std::optional<std::vector<trail_sql_t>> records = DecodeProcessTable(bytes);
    if (!records)
        return QcxImport::badFormat;
    g_ProcessTable = std::move(*records);
    g_ProcessTableChanged = 1;
    return QcxImport::imported;
}

bool ExportQcxFile(const CString& path, std::string* error)
{
    return WriteFileAtomic(path, EncodeProcessTable(g_ProcessTable), error);
}
