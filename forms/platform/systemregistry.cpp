#include "systemregistry.h"

#include <QStandardPaths>

std::optional<QVariant> SystemRegistry::value(Root root, const QString& keyPath,
                                              const QString& valueName) const {
    const bool systemInfoKey =
        root == Root::LocalMachine &&
        keyPath.compare(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        Qt::CaseInsensitive) == 0 &&
        valueName.compare(QStringLiteral("PATH"), Qt::CaseInsensitive) == 0;
    if (!systemInfoKey)
        return std::nullopt;
    for (const char* tool : {"hardinfo", "gnome-system-monitor", "ksysguard",
                             "plasma-systemmonitor", "xfce4-taskmanager", "lxtask"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!found.isEmpty())
            return QVariant(found);
    }
    return std::nullopt;
}
