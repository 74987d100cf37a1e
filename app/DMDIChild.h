// The frame of a tree window keeps the budget's placement of that window current: the Qt
// sub-window forwards its geometry and state changes here, so the placement stored in the
// file reopens the window where the user left it.
#pragma once

#include <cstdint>

struct TChildPlacement;

enum class TChildShow { Normal, Minimised, Maximised };

class TDMDIChild {
public:
    // Creating the window sets the placement's open flag.
    explicit TDMDIChild(TChildPlacement& placement);
    // Destroying it clears the flag.
    ~TDMDIChild();
    TDMDIChild(const TDMDIChild&) = delete;
    TDMDIChild& operator=(const TDMDIChild&) = delete;

    // How a new window shows itself: show state 1 minimised, 2 maximised, anything else normal.
    static TChildShow InitialShow(const TChildPlacement& placement);

    void Restored(int32_t width, int32_t height);  // restore or resize: size, show state 3
    void Minimised();                              // show state 1
    void Maximised();                              // show state 2
    void Moved(int32_t x, int32_t y);              // position

    TChildPlacement& Placement() { return placement; }

private:
    TChildPlacement& placement;
};
