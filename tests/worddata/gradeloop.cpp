// A process that grades words without end, as the practice does, until it is killed: the
// history test kills it at random moments.
#include "datasource.h"
#include "statements.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (int round = 0;; ++round) {
        for (int key = 1; key <= 9; ++key) {
            DataSource data;
            data.setDatabaseName(path);
            data.setRecordSource(QStringLiteral("select_word"));
            data.Refresh();
            data.FindFirst(QStringLiteral("key = %1").arg(key));
            if (data.NoMatch())
                return 1;
            data.Edit();
            data.setField(QStringLiteral("level"), (round + key) % 6);
            data.setField(QStringLiteral("times"), data.field(QStringLiteral("times")).toInt() + 1);
            data.Update();
        }
    }
}
