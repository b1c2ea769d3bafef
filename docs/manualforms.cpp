#include "manualforms.h"

#include "dialogforms.h"
#include "forms.h"

// A screen's header is on the include path exactly when docs/CMakeLists.txt links its library.
#if __has_include("pml0010.h")
#include "pml0010.h"
#define MANUAL_HAS_MAIN_MENU
#endif
#if __has_include("pml0020.h")
#include "pml0020.h"
#define MANUAL_HAS_PRACTICE
#endif
#if __has_include("pml0030.h")
#include "pml0030.h"
#define MANUAL_HAS_SLIDE_SHOW
#endif

// The screens' pictures are Qt resources of their static libraries, which a program has to
// pull in by name.
static void initScreenResources() {
#ifdef MANUAL_HAS_PRACTICE
    Q_INIT_RESOURCE(practice);
#endif
#ifdef MANUAL_HAS_SLIDE_SHOW
    Q_INIT_RESOURCE(slideshow);
#endif
}

void registerManualForms() {
    initScreenResources();
    registerDialogForms();
#ifdef MANUAL_HAS_MAIN_MENU
    Forms::registerFactory(Forms::Id::MainMenu, [] { return new Pml0010; });
#endif
#ifdef MANUAL_HAS_PRACTICE
    Forms::registerFactory(Forms::Id::Practice, [] { return new PML0020; });
#endif
#ifdef MANUAL_HAS_SLIDE_SHOW
    Forms::registerFactory(Forms::Id::SlideShow, [] { return new PML0030; });
#endif
}
