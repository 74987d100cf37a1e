// Objects that want a call on every idle pass of the program's event loop (the envelope and
// bundle watchdog). Constructing one enters it in one global list; destroying it leaves a null
// in its place, so a pass that is running when an entry dies simply skips it.
#pragma once

#include <cstddef>

class TIdler {
public:
    TIdler();
    virtual ~TIdler();
    TIdler(const TIdler&);  // a copy is a new entry of its own
    TIdler& operator=(const TIdler&) { return *this; }

    virtual void Idle() = 0;

    // Calls Idle of every live entry in the order they were made. An entry made during the pass
    // is called in the same pass; one destroyed during it is skipped.
    static void RunIdlers();
    // Live entries, for tests and diagnostics.
    static size_t CountIdlers();

private:
    size_t slot;
};
