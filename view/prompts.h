#pragma once

// The prompt line of every command and step, and the two tables of command
// names by entity type.

#include "platform/core/CString.h"

// What the prompt of the running command depends on beyond the globals of
// the command state (command, phase, creation modes, settings values).
struct PromptInputs {
    int command = 0;
    int cmdStep = 0;
    int subStep = 0;
    int subFlag = 0;                // command 17: 0 diameter, 1 radius
    bool displacement = false;      // the move prompts ask for a displacement
    bool polyArcMode = false;
    bool compensationEdit = false;  // command 66
    bool batchContourPick = false;  // command 66
    int cutMode = 0;                // command 66
    int directionCount = 0;         // command 66: cut directions offered
    bool taperInput = false;        // command 66, variable taper, step 4
};

struct PromptLine {
    CString text;                   // empty: no prompt
    CString prefill;                // text put into the command edit
    bool prefillAlways = false;     // pre-filled in every mode, not only mode 2
};

// The prompt of the state with the typed text behind it; the text is shown
// behind a blank and a full-width colon.
PromptLine BuildPrompt(const PromptInputs& in, const CString& extra);

// "直线(L)->" and "直线" by entity type; sub-type (diameter 0, radius 1) for
// type 17. Types 18 and 19 are the arc-length and the angle dimension.
CString CommandTitle(int type, int subType);
CString CommandShortName(int type, int subType);
