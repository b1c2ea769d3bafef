#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>

// A test main whose watchdog closes any modal dialog that slips through (a real message box
// or file dialog would otherwise wait for a click for ever) and fails the run.
namespace TestMain {
int run(QObject& test, int argc, char** argv);
}

#define PIMLOTAN_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv) {                                                              \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return TestMain::run(test, argc, argv);                                                    \
    }
