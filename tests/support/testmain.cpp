#include "testmain.h"

#include "activatableform.h"
#include "fakeplatform.h"
#include "forms.h"

#include <QDialog>
#include <QProgressDialog>
#include <QWidget>

namespace TestMain {

int run(QObject& test, int argc, char** argv) {
    FakePlatform::resetScreens = [] {
        Forms::clear();
        ActivationTracker::instance().reset();
    };
    int modalsClosed = 0;
    QTimer watchdog;
    watchdog.setInterval(200);
    QObject::connect(&watchdog, &QTimer::timeout, [&modalsClosed] {
        QWidget* modal = QApplication::activeModalWidget();
        // A progress dialog blocks nothing: it shows while slow work (a slow machine, a
        // sanitizer build) runs, and goes when the work is done.
        if (!modal || qobject_cast<QProgressDialog*>(modal))
            return;
        ++modalsClosed;
        std::fprintf(stderr, "FAIL: a real modal dialog was opened (%s): closed by the watchdog\n",
                     qPrintable(modal->windowTitle()));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    watchdog.start();
    const int failures = QTest::qExec(&test, argc, argv);
    return failures + modalsClosed;
}

} // namespace TestMain
