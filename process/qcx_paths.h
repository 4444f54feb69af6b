#pragma once

// Where ".qcx" process lists travel: the user's removable drive when one
// is mounted (the platform's drive list), else the home folder.

#include <cstdint>

#include "platform/core/CString.h"

// The first mounted removable medium, else the home folder; no trailing '/'.
CString DefaultQcxFolder();
// Empty when no removable medium is mounted.
CString FirstRemovableDrive();

// The size column of the import list: bytes below 1024, then K and M with
// up to two decimals ("1023", "1.5K", "3.0M").
CString QcxSizeText(std::int64_t bytes);
// A file time as local "%Y/%m/%d %H:%M:%S".
CString FormatFileTime(std::int64_t seconds);
// Appends '/' unless the folder ends in a separator.
CString WithTrailingSeparator(const CString& folder);
