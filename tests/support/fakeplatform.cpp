#include "fakeplatform.h"

#include "platform/shell.h"
#include "pmcm000.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

Prompter::Answer FakePrompter::message(const QString& text, const QString& title, Icon icon,
                                       Buttons buttons) {
    messages << Message{text, title, icon, buttons};
    if (onMessage)
        onMessage(messages.last());
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

QString FakePrompter::openFile(const QString& filter, const QString& startFolder,
                               const QString& title) {
    fileRequests << FileRequest{filter, startFolder, title};
    return files.isEmpty() ? QString() : files.dequeue();
}

std::optional<QColor> FakePrompter::chooseColor(const QColor& initial) {
    colourRequests << initial;
    return colours.isEmpty() ? std::nullopt : colours.dequeue();
}

QStringList FakePrompter::texts() const {
    QStringList result;
    for (const Message& message : messages)
        result << message.text;
    return result;
}

bool FakeShell::copyMissingFiles(const QString& fromFolder, const QString& toFolder) {
    ++copies;
    if (copyFails)
        return false;
    return ::copyMissingFiles(fromFolder, toFolder);
}

static QString registryKey(Registry::Root root, const QString& keyPath, const QString& valueName) {
    return QString::number(static_cast<int>(root)) + u'|' + keyPath.toLower() + u'|' +
           valueName.toLower();
}

std::optional<QVariant> FakeRegistry::value(Root root, const QString& keyPath,
                                            const QString& valueName) const {
    const auto it = values.find(registryKey(root, keyPath, valueName));
    if (it == values.end())
        return std::nullopt;
    return *it;
}

void FakeRegistry::set(Root root, const QString& keyPath, const QString& valueName,
                       const QVariant& value) {
    values.insert(registryKey(root, keyPath, valueName), value);
}

FakePlatform::FakePlatform() {
    platform = Platform{&prompter, &sound, &shell, &registry, &screen};
    shell.documents = documentsDir.path();
    shell.program = programDir.path() + QStringLiteral("/pimlotan");
    writeFile(programFolder() + QStringLiteral("Morvini.ini"), "\"pimlotan\"\r\n");
    writeFile(programFolder() + QStringLiteral("Ini/PML020.ini"),
              "-2147483633\r\n-2147483633\r\n-2147483633\r\n255\r\n255\r\n16711680\r\n");
    writeFile(programFolder() + QStringLiteral("Ini/PML030.ini"),
              " 65535 \r\n 65535 \r\n 65535 \r\n 0 \r\n 3 \r\n");
    writeFile(programFolder() + QStringLiteral("Ini/PML040.ini"),
              "ok.wav\r\nng.wav\r\n\r\n\r\n 0 \r\n 1 \r\n");
    PMCM000::SetPlatform(&platform);
    PMCM000::ResetSharedSettings();
    if (resetScreens)
        resetScreens();
}

FakePlatform::~FakePlatform() {
    if (resetScreens)
        resetScreens();
    PMCM000::ResetSharedSettings();
    PMCM000::SetPlatform(nullptr);
}

void FakePlatform::writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

void FakePlatform::prepareFolders() {
    PMCM000::ResolveDocumentsFolder();
    PMCM000::ResolveAppFolder();
    ::copyMissingFiles(programFolder() + QStringLiteral("Ini/"), settingsFolder());
    PMCM000::PrepareSettingsFolder();
}
