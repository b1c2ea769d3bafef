// When a form counts as activated, and how forms load each other through the registry.
#include "activatableform.h"
#include "fakeplatform.h"
#include "forms.h"
#include "testmain.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

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

    // A form wider than the screen (with its frame) keeps its size and is moved left until its
    // right edge is on the screen; one that fits stays where it is.
    // A form wider than the screen keeps its size and moves only as far as its controls need:
    // the rightmost control (the voice slider) comes on the screen, an empty right margin does
    // not push the menu bar off the left.
    void wideFormsKeepTheirControlsOnScreen_data() {
        QTest::addColumn<int>("formWidth");
        QTest::addColumn<int>("screenWidth");
        QTest::addColumn<int>("controlsRight"); // the right edge of the rightmost control
        QTest::addColumn<bool>("moved");
        QTest::newRow("slider at the right, 1280 x 1024") << 1337 << 1280 << 1330 << true;
        QTest::newRow("empty right margin") << 1337 << 1280 << 1100 << false;
        QTest::newRow("fits") << 1003 << 1024 << 1000 << false;
        QTest::newRow("the frame does not fit") << 1280 << 1280 << 1280 << true;
    }
    void wideFormsKeepTheirControlsOnScreen() {
        QFETCH(int, formWidth);
        QFETCH(int, screenWidth);
        QFETCH(int, controlsRight);
        QFETCH(bool, moved);
        fake->screen.width = screenWidth * 15.0;
        Forms::registerFactory(Forms::Id::Practice, [formWidth, controlsRight] {
            auto* form = new QWidget;
            form->setFixedSize(formWidth, 600);
            (new QPushButton(form))->setGeometry(0, 0, 20, 20);
            (new QPushButton(form))->setGeometry(controlsRight - 40, 100, 40, 20);
            form->move(0, 20);
            return form;
        });
        QWidget* form = Forms::show(Forms::Id::Practice);
        QCOMPARE(form->width(), formWidth);
        const int margin = form->geometry().left() - form->frameGeometry().left();
        if (moved)
            QCOMPARE(form->frameGeometry().left() + margin + controlsRight, screenWidth);
        else
            QCOMPARE(form->pos(), QPoint(0, 20));
        Forms::unloadAll();
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
