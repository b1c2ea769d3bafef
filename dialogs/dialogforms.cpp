#include "dialogforms.h"

#include "forms.h"
#include "frmabout.h"
#include "pmlp0010.h"
#include "pmlp0020.h"
#include "pmlp0030.h"

void registerDialogForms() {
    Forms::registerFactory(Forms::Id::ColourDialog, [] { return new PMLP0010; });
    Forms::registerFactory(Forms::Id::SoundDialog, [] { return new PMLP0020; });
    Forms::registerFactory(Forms::Id::DataFileDialog, [] { return new PMLP0030; });
    Forms::registerFactory(Forms::Id::About, [] { return new frmAbout; });
}
