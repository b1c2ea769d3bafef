#include "activatableform.h"

#include <QEvent>
#include <QWidget>

ActivatableForm::ActivatableForm(QWidget* form)
    : form_(form) {
    ActivationTracker::instance().add(form, this);
}

ActivatableForm::~ActivatableForm() {
    ActivationTracker::instance().remove(form_);
}

ActivationTracker& ActivationTracker::instance() {
    static ActivationTracker tracker;
    return tracker;
}

void ActivationTracker::add(QWidget* form, ActivatableForm* activatable) {
    forms_.insert(form, activatable);
    form->installEventFilter(this);
}

void ActivationTracker::remove(QWidget* form) {
    forms_.remove(form);
    form->removeEventFilter(this);
    if (lastForm_ == form)
        lastForm_ = nullptr;
}

void ActivationTracker::windowActivated(QWidget* window) {
    ActivatableForm* form = forms_.value(window);
    // Windows that are not forms (message boxes, file dialogs) leave the last form as it was.
    if (!form || lastForm_ == window)
        return;
    lastForm_ = window;
    form->Form_Activate();
}

bool ActivationTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow())
            windowActivated(widget);
    }
    return QObject::eventFilter(watched, event);
}
