#pragma once

// Registers the colour, sound, data-file information and about dialogs with the form registry,
// so that every screen's menu opens them through Forms::show() (one instance each at a time).
void registerDialogForms();
