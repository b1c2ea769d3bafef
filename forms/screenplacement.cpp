#include "screenplacement.h"

#include "platform/platform.h"
#include "platform/screeninfo.h"
#include "pmcm000.h"

#include <QWidget>
#include <cmath>

void keepOnScreen(QWidget* form) {
    const ScreenInfo* screen = PMCM000::platform().screen;
    if (!screen || screen->twipsPerPixelY() <= 0)
        return;
    const int screenWidth =
        static_cast<int>(std::lround(screen->widthTwips() / screen->twipsPerPixelY()));
    const QRect frame = form->frameGeometry();
    if (frame.width() <= screenWidth || screenWidth <= 0)
        return;
    form->move(screenWidth - frame.width(), frame.top());
}
