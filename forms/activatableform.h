#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

// A form of this program that rebuilds or refreshes itself when it becomes the active form.
// Activation happens when the form becomes the active window and the previously active form of
// this program was another one (or none). Switching to another application and back, or closing
// a message box or file dialog, does not activate; closing one of the program's own dialogs does.
class ActivatableForm {
  public:
    explicit ActivatableForm(QWidget* form);
    virtual ~ActivatableForm();

    virtual void Form_Activate() = 0;

    ActivatableForm(const ActivatableForm&) = delete;
    ActivatableForm& operator=(const ActivatableForm&) = delete;

  private:
    QWidget* form_;
};

// Watches the registered forms' window activation and applies the rule above.
class ActivationTracker : public QObject {
    Q_OBJECT
  public:
    static ActivationTracker& instance();

    void add(QWidget* form, ActivatableForm* activatable);
    void remove(QWidget* form);
    // A top-level window of this program became active (also called by tests).
    void windowActivated(QWidget* window);
    // Forget which form was active last (tests).
    void reset() { lastForm_ = nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QHash<QWidget*, ActivatableForm*> forms_;
    QPointer<QWidget> lastForm_;
};
