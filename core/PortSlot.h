// The port in use for one kind of request from the domain: never null, and settable. Until a
// port is set, and again after null is set, the fallback answers (a port that declines every
// dialog and opens nothing). The program sets its adapters once at start-up; tests and console
// commands install theirs for a scope with TPortInstall.
#pragma once

template <class Port>
class TPortSlot {
public:
    explicit TPortSlot(Port& fallback) : fallback(fallback), current(&fallback) {}
    TPortSlot(const TPortSlot&) = delete;
    TPortSlot& operator=(const TPortSlot&) = delete;

    Port& operator()() const { return *current; }
    // Null restores the fallback. Answers the port set before (null for the fallback).
    Port* Set(Port* port) {
        Port* before = current == &fallback ? nullptr : current;
        current = port ? port : &fallback;
        return before;
    }

private:
    Port& fallback;
    Port* current;
};

// Sets a port for as long as it lives, then restores the one before.
template <class Port>
class TPortInstall {
public:
    TPortInstall(TPortSlot<Port>& slot, Port& port) : slot(slot), before(slot.Set(&port)) {}
    ~TPortInstall() { slot.Set(before); }
    TPortInstall(const TPortInstall&) = delete;
    TPortInstall& operator=(const TPortInstall&) = delete;

private:
    TPortSlot<Port>& slot;
    Port* before;
};
