#pragma once

// The array's work on the drawing list: removing the copies of a generation
// not yet accepted, placing copies of the selected entities, and accepting
// them as one undo step.

#include <cstdint>
#include <vector>

#include "generators/array_places.h"
#include "platform/core/CArray.h"

class CZorvaDoc;

// More copies than this in one generation are refused.
constexpr long long kMaxArrayCopies = 100000;

// Destroys and removes every temporary entity of the drawing list.
void RemovePendingCopies(CZorvaDoc& doc);
// The live selected entities of role 0, in list order, into the scratch
// list; their count.
int CollectArraySources(CZorvaDoc& doc);
// One temporary copy of every scratch-list entity at every place, turned
// by the place's turn when rotate is set.
void PlaceArrayCopies(CZorvaDoc& doc, const std::vector<ArrayPlace>& places, bool rotate);
// Unit ids of the live selected entities of role 0, in list order.
void CollectSourceIds(CZorvaDoc& doc, CArray<std::uint64_t>& ids);
// Clears the temporary mark of the copies and records them, with the
// deletion of the sources named by ids, in the current undo step.
// Returns the number of copies accepted.
int AcceptArrayCopies(CZorvaDoc& doc, const CArray<std::uint64_t>& ids);
