#include "app/DMDIChild.h"

#include "core/QuilletData.h"

TDMDIChild::TDMDIChild(TChildPlacement& p) : placement(p) {
    placement.open = true;
}

TDMDIChild::~TDMDIChild() {
    placement.open = false;
}

TChildShow TDMDIChild::InitialShow(const TChildPlacement& placement) {
    return placement.show == 1   ? TChildShow::Minimised
           : placement.show == 2 ? TChildShow::Maximised
                                 : TChildShow::Normal;
}

void TDMDIChild::Restored(int32_t width, int32_t height) {
    placement.width = width;
    placement.height = height;
    placement.show = 3;
}

void TDMDIChild::Minimised() {
    placement.show = 1;
}

void TDMDIChild::Maximised() {
    placement.show = 2;
}

void TDMDIChild::Moved(int32_t x, int32_t y) {
    placement.x = x;
    placement.y = y;
}
