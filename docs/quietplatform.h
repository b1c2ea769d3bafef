#pragma once

#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/screeninfo.h"
#include "platform/shell.h"
#include "platform/sounddevice.h"

#include <QStringList>

// The platform the manual's pictures are taken on: nothing waits for a user, nothing sounds,
// the screen is the 1024 x 768 design screen, and the Documents folder is a folder of our own.
class QuietPlatform {
  public:
    QuietPlatform(const QString& programFile, const QString& documentsFolder);

    Platform& platform() { return platform_; }
    // Every message the forms wanted to show, so that the tool can report them.
    const QStringList& messages() const { return prompter_.messages; }
    void forgetMessages() { prompter_.messages.clear(); }

  private:
    class QuietPrompter : public Prompter {
      public:
        Answer message(const QString& text, const QString& title, Icon, Buttons buttons) override;
        QString openFile(const QString&, const QString&, const QString&) override { return {}; }
        QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
        QString chooseFolder(const QString&, const QString&) override { return {}; }
        std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
        QStringList messages;
    };
    class SilentSound : public SoundDevice {
      public:
        void setVolume(quint32 word) override { volume_ = word; }
        quint32 volume() const override { return volume_; }
        void play(const QString&, bool) override {}

      private:
        quint32 volume_ = 0xFFFFFFFFu;
    };
    class LocalShell : public Shell {
      public:
        QString documentsFolder() const override { return documents; }
        QString programFile() const override { return program; }
        bool copyMissingFiles(const QString& fromFolder, const QString& toFolder) override;
        bool openDocument(const QString&) override { return false; }
        bool startDetached(const QString&, const QStringList&) override { return false; }
        QString documents;
        QString program;
    };
    class NoRegistry : public Registry {
      public:
        std::optional<QVariant> value(Root, const QString&, const QString&) const override {
            return std::nullopt;
        }
    };
    class DesignScreen : public ScreenInfo {
      public:
        double heightTwips() const override { return 768 * 15; }
        double widthTwips() const override { return 1024 * 15; }
        double twipsPerPixelY() const override { return 15; }
    };

    QuietPrompter prompter_;
    SilentSound sound_;
    LocalShell shell_;
    NoRegistry registry_;
    DesignScreen screen_;
    Platform platform_;
};
