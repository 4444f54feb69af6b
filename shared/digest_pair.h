#pragma once

// A file and its companion "<file>MD5", which holds the file's 16-byte MD5,
// are replaced one after the other, each atomically, both new files whole
// before the first rename. A save killed between the two renames leaves the
// new file beside the old companion, with the new companion whole in its
// temporary; the pair then fails its check.

#include "platform/core/CString.h"

// Completes such a save: a leftover companion temporary that holds the
// file's digest replaces the companion. Other leftovers of the companion
// are removed. Readers of a pair call it before the check.
void FinishDigestPair(const CString& path);
