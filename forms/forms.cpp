#include "forms.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace Forms {

namespace {
struct Entry {
    Factory factory;
    QPointer<QWidget> form;
};

QHash<Id, Entry>& registry() {
    static QHash<Id, Entry> entries;
    return entries;
}
} // namespace

void registerFactory(Id id, Factory factory) {
    registry()[id].factory = std::move(factory);
}

QWidget* instance(Id id) {
    return registry().value(id).form;
}

QWidget* load(Id id) {
    Entry& entry = registry()[id];
    if (!entry.form && entry.factory) {
        entry.form = entry.factory();
        if (entry.form)
            entry.form->setAttribute(Qt::WA_DeleteOnClose);
    }
    return entry.form;
}

QWidget* show(Id id) {
    QWidget* form = load(id);
    if (form) {
        form->show();
        form->raise();
        form->activateWindow();
    }
    return form;
}

void unload(Id id) {
    if (QWidget* form = instance(id))
        form->close();
}

void unloadAll() {
    for (auto it = registry().begin(); it != registry().end(); ++it)
        if (it->form)
            it->form->close();
}

void clear() {
    registry().clear();
}

} // namespace Forms
