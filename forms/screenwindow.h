#pragma once

#include "activatableform.h"
#include "forms.h"

#include <QMainWindow>

// A screen that its commands leave for another screen, and whose close box ends the program:
// the practice and the slide show.
class ScreenWindow : public QMainWindow, public ActivatableForm {
    Q_OBJECT
  public:
    explicit ScreenWindow(QWidget* parent = nullptr);

    bool leavingByCommand() const { return LeavingByCommand; }

  protected:
    // Goes to another screen and unloads this one; stays when that screen cannot be opened,
    // since closing it would leave no window at all.
    void leaveFor(Forms::Id form);
    // What the screen stops before it is closed, either way.
    virtual void beforeClose() {}
    // Form_QueryUnload: closing the window other than by a command unloads every form and
    // ends the program.
    void closeEvent(QCloseEvent* event) override;

  private:
    bool LeavingByCommand = false;
};
