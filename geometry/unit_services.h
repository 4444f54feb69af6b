#pragma once

// Walks over the drawing list that the view offers the entities; they act on
// the units of g_pDoc and do nothing without a document.

// Every live unit: visible, and walked, hover, highlight, pick, selection,
// rubber-band and split marks cleared.
void ResetEntityStates();
// A live unit whose group is non-zero and equals group, and whose role is
// not 4, becomes selected; every other live unit is deselected.
void SelectGroup(int group);
