#pragma once

#include "activatableform.h"

#include <QLabel>
#include <QWidget>

// What the colour, sound and data-file dialogs share: a modeless window with a fixed border
// that stays in front, is centred on the screen, is deleted when closed and, when it becomes
// the active form, tells the screens behind it that a dialog is open (DialogOpen), so that
// they neither rebuild nor run their timers until they are active again.
class PreferenceDialog : public QWidget, public ActivatableForm {
    Q_OBJECT
  public:
    void Form_Activate() override;

  protected:
    explicit PreferenceDialog(const QString& name);

    // Fixes the client area from design twips (height, width) and centres the window.
    void setDesignClientSize(double height, double width);
    // Makes a one-line label's text fit its design width by lowering its font size a little.
    static void shrinkToFit(QLabel* label);
    // Reports a settings file that could not be written; title = form + handler.
    void reportWriteFailure(const QString& handler);
};
