#pragma once

// The primary screen's size, in the units the layout is designed in.
class ScreenInfo {
  public:
    virtual ~ScreenInfo() = default;

    virtual double heightTwips() const = 0;
    virtual double widthTwips() const = 0;
    virtual double twipsPerPixelY() const = 0;
};
