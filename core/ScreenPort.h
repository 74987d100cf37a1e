// The screen the default window placement is worked out from. The program gives the real
// screen; tests and the console program a fixed 1920 x 1080.
#pragma once

class TScreenPort {
public:
    virtual ~TScreenPort() = default;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
};

class TFixedScreen : public TScreenPort {
public:
    TFixedScreen(int w = 1920, int h = 1080) : width(w), height(h) {}
    int ScreenWidth() const override { return width; }
    int ScreenHeight() const override { return height; }

private:
    int width, height;
};
