// A deck path that names a named pipe (or a folder) is refused at once by everything that
// opens a deck: opening a pipe for reading would wait for a writer for ever.
#include "dataerror.h"
#include "deckcommands.h"
#include "deckcopy.h"
#include "deckeditor.h"
#include "fakeplatform.h"
#include "importcommand.h"
#include "jetfile.h"
#include "legacyerror.h"
#include "olderdeck.h"
#include "testmain.h"
#include "worddatafile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using Opener = std::function<bool(const QString& path)>; // true when the path was refused
Q_DECLARE_METATYPE(Opener)

namespace {

template <typename Error> bool throws(const std::function<void()>& work) {
    try {
        work();
    } catch (const Error&) {
        return true;
    }
    return false;
}

bool commandFails(const std::function<int(QTextStream&)>& command) {
    QString report;
    QTextStream out(&report);
    return command(out) != 0;
}

} // namespace

class TestNamedPipes : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<FakePlatform> fake_;

  private slots:
    void init() { fake_ = std::make_unique<FakePlatform>(); }
    void cleanup() {
        WordDataFile::closeAll();
        fake_.reset();
    }

    void refusedAtOnce_data() {
        QTest::addColumn<Opener>("opener");
        const QString out = dir_.filePath(QStringLiteral("out"));
        QTest::newRow("data source") << Opener([](const QString& p) {
            return throws<DataError>([&] { WordDataFile::connection(p); });
        });
        QTest::newRow("older-format test") << Opener([](const QString& p) {
            return OlderDeck::offerConversion(p) == p && !OlderDeck::isOlderFormat(p);
        });
        QTest::newRow("read-only test and copy offer")
            << Opener([](const QString& p) { return DeckCopy::offerWritableCopy(p) == p; });
        QTest::newRow("older-format reader") << Opener(
            [](const QString& p) { return throws<LegacyError>([&] { JetFile jet(p); }); });
        QTest::newRow("deck maker") << Opener(
            [](const QString& p) { return throws<DataError>([&] { DeckEditor editor(p); }); });
        QTest::newRow("pml-build --check") << Opener([](const QString& p) {
            return commandFails([&](QTextStream& s) { return DeckCommands::check(p, s); });
        });
        QTest::newRow("pml-build --export") << Opener([out](const QString& p) {
            return commandFails(
                [&](QTextStream& s) { return DeckCommands::exportDeck(p, out, s); });
        });
        QTest::newRow("pml-build --import") << Opener([out](const QString& p) {
            return commandFails([&](QTextStream& s) {
                return DeckCommands::importDeck(p, out + QStringLiteral(".pml"), s);
            });
        });
    }
    void refusedAtOnce() {
        QFETCH(Opener, opener);
        const QString pipe = dir_.filePath(QStringLiteral("pipe.pml"));
        if (!QFileInfo::exists(pipe))
            QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString folder = dir_.filePath(QStringLiteral("folder.pml"));
        QVERIFY(QDir().mkpath(folder));
        for (const QString& path : {pipe, folder}) {
            // Run aside, so that a hang fails the test instead of stopping it.
            std::packaged_task<bool()> task([&] { return opener(path); });
            std::future<bool> refused = task.get_future();
            std::thread worker(std::move(task));
            if (refused.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
                const int unblock = ::open(QFile::encodeName(pipe).constData(), O_WRONLY);
                worker.join();
                ::close(unblock);
                QFAIL(qPrintable(path + QStringLiteral(" was waited on")));
            }
            worker.join();
            QVERIFY2(refused.get(), qPrintable(path));
        }
        QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("out.pml"))));
    }
};

PIMLOTAN_TEST_MAIN(TestNamedPipes)
#include "tst_namedpipes.moc"
