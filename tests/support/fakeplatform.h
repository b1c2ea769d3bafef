#pragma once

#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/screeninfo.h"
#include "platform/shell.h"
#include "platform/sounddevice.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QQueue>
#include <QTemporaryDir>
#include <functional>

// Records every message and answers from queues (OK, cancelled dialogs when a queue is empty).
class FakePrompter : public Prompter {
  public:
    struct Message {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
    };
    struct FileRequest {
        QString filter;
        QString startFolder;
        QString title;
    };

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    QString openFile(const QString& filter, const QString& startFolder,
                     const QString& title) override;
    // Both answer from files, as openFile does, and are recorded in fileRequests.
    QString saveFile(const QString& filter, const QString& startPath,
                     const QString& title) override {
        return openFile(filter, startPath, title);
    }
    QString chooseFolder(const QString& startFolder, const QString& title) override {
        return openFile(QString(), startFolder, title);
    }
    std::optional<QColor> chooseColor(const QColor& initial) override;
    // Runs work at once, recording the text and every step.
    void withProgress(const QString& text, const QString& title,
                      const std::function<void(const ProgressStep&)>& work) override {
        progressTexts << text + u'|' + title;
        work([this](int done, int total) { progressSteps << std::pair{done, total}; });
    }

    QStringList texts() const;

    // Called with each message as it comes up, to look at the screen behind it.
    std::function<void(const Message&)> onMessage;

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QStringList progressTexts;
    QList<std::pair<int, int>> progressSteps;
    QList<QColor> colourRequests;
    QQueue<Answer> answers;
    QQueue<QString> files;
    QQueue<std::optional<QColor>> colours;
};

// Records volume changes and plays; plays return at once.
class FakeSoundDevice : public SoundDevice {
  public:
    struct Play {
        QString path;
        bool wait;
        quint32 volume;
    };

    void setVolume(quint32 word) override {
        volumeWord = word;
        volumeChanges << word;
    }
    quint32 volume() const override { return volumeWord; }
    void play(const QString& path, bool wait) override { plays << Play{path, wait, volumeWord}; }

    quint32 volumeWord = 0xFFFFFFFFu;
    QList<quint32> volumeChanges;
    QList<Play> plays;
};

// Folders in temporary directories; the copy is the real one unless told to fail.
class FakeShell : public Shell {
  public:
    QString documentsFolder() const override { return documents; }
    QString programFile() const override { return program; }
    bool copyMissingFiles(const QString& fromFolder, const QString& toFolder) override;
    bool openDocument(const QString& path) override {
        openedDocuments << path;
        return openSucceeds;
    }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        startedPrograms << (QStringList{program} + arguments);
        return startSucceeds;
    }

    QString documents;
    QString program;
    bool copyFails = false;
    int copies = 0;
    bool openSucceeds = true;
    bool startSucceeds = true;
    QStringList openedDocuments;
    QList<QStringList> startedPrograms;
};

class FakeRegistry : public Registry {
  public:
    std::optional<QVariant> value(Root root, const QString& keyPath,
                                  const QString& valueName) const override;
    void set(Root root, const QString& keyPath, const QString& valueName, const QVariant& value);

    QHash<QString, QVariant> values;
};

class FakeScreenInfo : public ScreenInfo {
  public:
    double heightTwips() const override { return height; }
    double widthTwips() const override { return width; }
    double twipsPerPixelY() const override { return twipsPerPixel; }

    double height = 768 * 15;
    double width = 1024 * 15;
    double twipsPerPixel = 15;
};

// The fake platform installed into the shared settings, with a program folder holding
// Morvini.ini and the default settings files, and an empty Documents folder.
class FakePlatform {
  public:
    FakePlatform();
    ~FakePlatform();

    QString programFolder() const { return programDir.path() + u'/'; }
    QString documentsFolder() const { return documentsDir.path() + u'/'; }
    // The settings folder that Morvini.ini names ("pimlotan").
    QString settingsFolder() const { return documentsFolder() + QStringLiteral("pimlotan/"); }
    // Writes a file (CR LF lines) relative to a folder, creating folders as needed.
    static void writeFile(const QString& path, const QByteArray& bytes);
    // Resolves the folders as start-up does and copies the defaults without asking.
    void prepareFolders();

    QTemporaryDir programDir;
    QTemporaryDir documentsDir;
    FakePrompter prompter;
    FakeSoundDevice sound;
    FakeShell shell;
    FakeRegistry registry;
    FakeScreenInfo screen;
    Platform platform;

    // What the screens' tests also reset with each fake platform (the form registry and the
    // activation tracker); set by the widget test main, so that this library links no widgets.
    static inline std::function<void()> resetScreens;
};
