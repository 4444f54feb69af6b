#pragma once

// The recovery snapshot "001" in the ToolTemp folder and its tag "001MD5"
// (the 16 raw bytes of the snapshot's MD5). The snapshot is a ".wcx" image
// followed by the unit-id counter, the snapshot number and the current
// file name and path as wide strings.

#include "platform/core/CString.h"

class CZorvaDoc;

CString RecoverySnapshotPath();
CString RecoveryTagPath();

// Frees the deleted units, then writes the snapshot and its tag, each
// replaced atomically. On success clears g_drawingModified; on failure
// leaves the mark (and the old files) alone and returns false.
bool WriteRecoverySnapshot(CZorvaDoc& doc);
// Empties the document and loads the snapshot when its tag matches.
// Nothing is taken from a snapshot that cannot be read whole. g_undoStep
// ends as 1. Returns whether a drawing was restored.
bool RestoreRecoverySnapshot(CZorvaDoc& doc);
// The repair reset: no file name, counter 0, empty drawing, tag deleted,
// drawing marked modified.
void ClearRecoveryTag(CZorvaDoc& doc);
