// The floor for the start-up benchmark: a bare Qt window of the splash's size, measured by the
// same probe as the program.
#include "startupprobe.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    StartupProbe::install(app, "floor", "floor");
    QWidget window(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    window.setObjectName(QStringLiteral("floor"));
    window.setFixedSize(1003, 713);
    window.show();
    QTimer::singleShot(10000, &app, &QApplication::quit); // never hang without the probe
    return QApplication::exec();
}
