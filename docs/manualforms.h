#pragma once

// Registers every form whose library the manual tool is linked with (the dialogs always; the
// main menu, practice and slide-show screens when their libraries are part of the build).
void registerManualForms();
