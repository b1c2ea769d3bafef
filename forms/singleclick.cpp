#include "singleclick.h"

#include <QEvent>
#include <QWidget>

namespace {
class DoubleClickEater : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick)
            return true;
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

void countDoubleClickAsOne(QWidget* widget) {
    static DoubleClickEater eater;
    widget->installEventFilter(&eater);
}
