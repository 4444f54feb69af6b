#pragma once

// The process-parameter table files ("sql_list_h1", "sql_list_f1",
// "sql_list_f2", "sql_list_f3" in the data folder, each with an MD5
// companion of the same name followed by "MD5") and ".qcx" lists.
//
// Both hold a counted array: the count as uint16 (0xFFFF and a uint32 from
// 65535 on), then the raw 440-byte records. A table file is trusted only
// when its companion holds the MD5 of the whole file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/CString.h"
#include "process/trail_sql_t.h"

// The table name of a coding version; empty for fast wire (10) and for
// values that name no version.
CString ProcessTableNameFor(std::uint8_t codingMode);
// The table file of g_ProcessTableName in the data folder.
CString ProcessTablePath();
CString CompanionPath(const CString& tablePath);

// The counted array; nullopt unless the bytes are exactly 2 + 440 n (or
// 6 + 440 n with the long count) long.
std::optional<std::vector<trail_sql_t>> DecodeProcessTable(std::span<const std::uint8_t> bytes);
// Padding is written as zero.
std::vector<std::uint8_t> EncodeProcessTable(const std::vector<trail_sql_t>& records);

enum class TableLoad { loaded, missing, rejected };
// Reads the file into a table of its own and only on success replaces
// g_ProcessTable; a missing or rejected file leaves g_ProcessTable alone.
TableLoad LoadProcessTable(const CString& path);
// The file exists, its companion matches and its size is that of a table.
bool TableFileIntact(const CString& path);
// Replaces the table file and its companion with g_ProcessTable. A file
// there that fails its check is first copied beside it (BackupPathFor), so
// a table that could not be loaded is never lost. False, with the reason
// in error, when anything failed; the old files then stay as they were.
bool SaveProcessTable(const CString& path, std::string* error = nullptr);
// "<path>.bak", or "<path>.bak2", ... when that exists.
CString BackupPathFor(const CString& path);

// The smallest process number 1..1000 no record carries; 0 when all are used.
int NextProcessNumber(const std::vector<trail_sql_t>& records);

enum class QcxImport { imported, tooShort, badFormat, unreadable };
// Replaces g_ProcessTable with the list's records and marks the table
// changed. A file under 4 bytes (an empty list included) imports nothing.
QcxImport ImportQcxFile(const CString& path);
// Writes g_ProcessTable as a ".qcx" list, replacing the file atomically.
bool ExportQcxFile(const CString& path, std::string* error = nullptr);
