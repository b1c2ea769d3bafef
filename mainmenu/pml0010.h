#pragma once

#include "activatableform.h"

#include <QMainWindow>

// The main menu. It stays loaded for the whole run; closing it ends the program.
class Pml0010 : public QMainWindow, public ActivatableForm {
    Q_OBJECT
  public:
    explicit Pml0010(QWidget* parent = nullptr);

    void Form_Activate() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
};
