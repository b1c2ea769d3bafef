#include "screenplacement.h"

#include "platform/platform.h"
#include "platform/screeninfo.h"
#include "pmcm000.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>
#include <cmath>

namespace {

// The part of the form that holds something a user presses or reads, in the form's own
// coordinates: every control (a widget holding no other) and every entry of the menu bar.
// Empty margins around them do not count.
QRect controlsExtent(const QWidget* form) {
    QRect extent;
    for (const QWidget* child : form->findChildren<QWidget*>()) {
        if (child->isWindow())
            continue;
        if (const auto* menuBar = qobject_cast<const QMenuBar*>(child)) {
            for (QAction* action : menuBar->actions())
                if (action->isVisible())
                    extent |= QRect(menuBar->mapTo(form, menuBar->actionGeometry(action).topLeft()),
                                    menuBar->actionGeometry(action).size());
            continue;
        }
        bool insideMenuBar = false;
        for (const QWidget* up = child->parentWidget(); up && up != form; up = up->parentWidget())
            insideMenuBar = insideMenuBar || qobject_cast<const QMenuBar*>(up);
        if (insideMenuBar || !child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty())
            continue;
        extent |= QRect(child->mapTo(form, QPoint(0, 0)), child->size());
    }
    return extent.isValid() ? extent : form->rect();
}

} // namespace

void keepOnScreen(QWidget* form) {
    const ScreenInfo* screen = PMCM000::platform().screen;
    if (!screen || screen->twipsPerPixelY() <= 0)
        return;
    const int screenWidth =
        static_cast<int>(std::lround(screen->widthTwips() / screen->twipsPerPixelY()));
    const QRect frame = form->frameGeometry();
    if (frame.width() <= screenWidth || screenWidth <= 0)
        return;
    // Screen x of the form's own x = 0 is left + margin.
    const int margin = form->geometry().left() - frame.left();
    const QRect controls = controlsExtent(form);
    int left = frame.left();
    if (left + margin + controls.left() < 0)
        left = -(margin + controls.left());
    if (left + margin + controls.right() >= screenWidth) // the right edge wins: the slider
        left = screenWidth - 1 - margin - controls.right();
    if (left != frame.left())
        form->move(left, frame.top());
}
