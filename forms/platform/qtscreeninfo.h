#pragma once

#include "platform/screeninfo.h"

// The primary screen, at the design resolution of 15 twips per pixel.
class QtScreenInfo : public ScreenInfo {
  public:
    double heightTwips() const override;
    double widthTwips() const override;
    double twipsPerPixelY() const override { return 15; }
};
