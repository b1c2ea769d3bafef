#pragma once

#include <functional>

class QWidget;

// The program's forms open each other through this registry, so that no screen includes
// another screen's header. main() registers a factory per form.
namespace Forms {

enum class Id { MainMenu, Practice, SlideShow, ColourDialog, SoundDialog, DataFileDialog, About };

using Factory = std::function<QWidget*()>;

void registerFactory(Id id, Factory factory);
// The loaded instance, or nullptr.
QWidget* instance(Id id);
// Creates the form when it is not loaded (a form lays itself out when created).
QWidget* load(Id id);
// Loads, shows and brings the form to the front.
QWidget* show(Id id);
// Closes the form; it is deleted on close.
void unload(Id id);
// Closes every loaded form (the program ends).
void unloadAll();
// Forgets every factory and instance (tests).
void clear();

} // namespace Forms
