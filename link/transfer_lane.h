#pragma once

struct Datagram;

// While a file's blocks flow, the receive thread runs the block step of the
// transfer itself: an answer of 1 sends the next block, a good block that is
// not the last is stored and answered. Handing each of them to the dialog
// thread cost a wake-up and a thread switch per block, more than the round
// trip itself on a fast link. Everything else (headers, ends, bad blocks, the
// last block with its digest and file, resends, progress, the machine list)
// stays on the dialog thread, which takes the transfer back at every turn.

// Receive thread, with no datagram waiting for the dialog thread: true when
// d was the running transfer's next block step and has been run here.
bool RunBlockStepHere(const Datagram& d);

// Dialog thread: while one lives, the receive thread runs no block step, so
// the engine's state is the dialog thread's alone. Turns nest; the outermost
// lends the transfer to the receive thread as it ends, when blocks flow.
class EngineTurn {
public:
    EngineTurn();
    ~EngineTurn();
    EngineTurn(const EngineTurn&) = delete;
    EngineTurn& operator=(const EngineTurn&) = delete;
};
