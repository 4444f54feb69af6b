#pragma once

// The kinds of file the programs write, for the tests that kill a save:
// where each lives under the data root, and which are pairs of a file and
// its digest companion.

#include <optional>
#include <vector>

#include "platform/core/CString.h"

enum class SaveKind { wcx, dcx, snapshot, settings, processTable, qcx, scheme, settingsIni, received };

const std::vector<SaveKind>& AllSaveKinds();
const char* SaveKindName(SaveKind kind);
std::optional<SaveKind> SaveKindNamed(const char* name);

// The files one save writes, main file first.
std::vector<CString> SaveKindFiles(SaveKind kind);
// Folders made and names set as the programs do before their first save.
void PrepareSaveKind(SaveKind kind);
// A file with its digest companion: the second file checks the first.
bool IsDigestPairKind(SaveKind kind);
