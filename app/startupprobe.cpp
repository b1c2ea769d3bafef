#include "startupprobe.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {
qint64 nowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Peak resident memory of this process in KiB.
QByteArray peakRss() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0);
    return "?";
}

class Probe : public QObject {
  public:
    Probe(qint64 launchNs, const char* splashName, const char* menuName)
        : launchNs_(launchNs)
        , splashName_(QString::fromLatin1(splashName))
        , menuName_(QString::fromLatin1(menuName)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        const QString name = watched->objectName();
        if (!splashSeen_ && name == splashName_) {
            splashSeen_ = true;
            std::printf("splash_ms=%.1f\n", static_cast<double>(nowNs() - launchNs_) / 1e6);
            std::fflush(stdout);
        }
        if (!menuSeen_ && name == menuName_) {
            menuSeen_ = true;
            // Let the first screen settle before reading the peak.
            QTimer::singleShot(500, [] {
                std::printf("peak_rss_kib=%s\n", peakRss().constData());
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return false;
    }

  private:
    qint64 launchNs_;
    QString splashName_;
    QString menuName_;
    bool splashSeen_ = false;
    bool menuSeen_ = false;
};
} // namespace

void StartupProbe::install(QApplication& app, const char* splashName, const char* menuName) {
    const QByteArray launch = qgetenv("PIMLOTAN_PROBE_T0");
    if (launch.isEmpty())
        return;
    app.installEventFilter(new Probe(launch.toLongLong(), splashName, menuName));
}
