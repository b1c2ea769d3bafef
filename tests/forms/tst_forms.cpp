// When a form counts as activated, and how forms load each other through the registry.
#include "activatableform.h"
#include "fakeplatform.h"
#include "forms.h"
#include "testmain.h"

#include <QMessageBox>
#include <QPointer>

namespace {
class CountingForm : public QWidget, public ActivatableForm {
  public:
    CountingForm()
        : ActivatableForm(this) {}
    void Form_Activate() override { ++activations; }
    int activations = 0;
};
} // namespace

class TestForms : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;

  private slots:
    void init() { fake = std::make_unique<FakePlatform>(); }
    void cleanup() { fake.reset(); }

    void activationRule() {
        CountingForm menu;
        CountingForm practice;
        QWidget messageBox; // any window that is not one of the program's forms
        auto& tracker = ActivationTracker::instance();

        tracker.windowActivated(&menu);
        QCOMPARE(menu.activations, 1);
        // Back from another application: the same form was active last.
        tracker.windowActivated(&menu);
        QCOMPARE(menu.activations, 1);
        // A message box closes: the form underneath does not activate again.
        tracker.windowActivated(&messageBox);
        tracker.windowActivated(&menu);
        QCOMPARE(menu.activations, 1);
        // Another form in between does.
        tracker.windowActivated(&practice);
        tracker.windowActivated(&menu);
        QCOMPARE(practice.activations, 1);
        QCOMPARE(menu.activations, 2);
        // Closing one of the program's dialogs activates the form underneath.
        {
            CountingForm dialog;
            tracker.windowActivated(&dialog);
            QCOMPARE(dialog.activations, 1);
        }
        tracker.windowActivated(&menu);
        QCOMPARE(menu.activations, 3);
    }

    void activationFollowsRealWindowEvents() {
        CountingForm menu;
        CountingForm practice;
        menu.show();
        practice.show();
        QApplication::setActiveWindow(&menu);
        QTRY_COMPARE(menu.activations, 1);
        QApplication::setActiveWindow(&practice);
        QTRY_COMPARE(practice.activations, 1);
        QApplication::setActiveWindow(&menu);
        QTRY_COMPARE(menu.activations, 2);
    }

    void registryLoadsOneInstance() {
        int created = 0;
        Forms::registerFactory(Forms::Id::Practice, [&created] {
            ++created;
            return new QWidget;
        });
        QVERIFY(!Forms::instance(Forms::Id::Practice));
        QPointer<QWidget> first = Forms::show(Forms::Id::Practice);
        QVERIFY(first && first->isVisible());
        QCOMPARE(Forms::show(Forms::Id::Practice), first.data());
        QCOMPARE(created, 1);
        Forms::unload(Forms::Id::Practice);
        QTRY_VERIFY(!first); // deleted on close
        QVERIFY(Forms::show(Forms::Id::Practice));
        QCOMPARE(created, 2);
        Forms::unloadAll();
        QTRY_VERIFY(!Forms::instance(Forms::Id::Practice));
        QVERIFY(!Forms::load(Forms::Id::About)); // nothing registered
    }
};

PIMLOTAN_TEST_MAIN(TestForms)
#include "tst_forms.moc"
