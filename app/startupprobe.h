#pragma once

class QApplication;

// Start-up measurement for the benchmark in bench/startup. When PIMLOTAN_PROBE_T0 holds the
// launch time (nanoseconds of the realtime clock), it prints the milliseconds from launch to
// the first paint of the start-up splash, then the peak memory once the main menu has painted,
// and ends the program. Without the variable it does nothing.
namespace StartupProbe {
// splashName / menuName: the objectName of the first window and of the one to wait for.
void install(QApplication& app, const char* splashName, const char* menuName);
} // namespace StartupProbe
