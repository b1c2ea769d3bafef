#include "manualforms.h"

#include "dialogforms.h"
#include "forms.h"
#include "pml0010.h"
#include "pml0020.h"
#include "pml0030.h"

// The screens' pictures are Qt resources of their static libraries, which a program has to
// pull in by name.
static void initScreenResources() {
    Q_INIT_RESOURCE(practice);
    Q_INIT_RESOURCE(slideshow);
}

void registerManualForms() {
    initScreenResources();
    registerDialogForms();
    Forms::registerFactory(Forms::Id::MainMenu, [] { return new Pml0010; });
    Forms::registerFactory(Forms::Id::Practice, [] { return new PML0020; });
    Forms::registerFactory(Forms::Id::SlideShow, [] { return new PML0030; });
}
