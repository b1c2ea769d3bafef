#pragma once

#include "platform/platform.h"
#include "platform/qtprompter.h"
#include "platform/qtscreeninfo.h"
#include "platform/qtshell.h"
#include "platform/sdlsounddevice.h"
#include "platform/systemregistry.h"

#include <optional>

class QCommandLineOption;
class QCommandLineParser;

// What both programs (the cards and the deck maker) do first.
namespace ProgramStart {

// Answers --help and --version before the window system is reached, so that they work anywhere
// (no display, a terminal over ssh). The exit status when one was answered, else nothing.
std::optional<int> answerHelpOrVersion(QCommandLineParser& parser, const QCommandLineOption& help,
                                       const QCommandLineOption& version, int argc, char** argv,
                                       const char* program);

// Noto Sans CJK draws the kana and kanji the same on every desktop. The family is asked for
// without listing the font database first, which would cost start-up time; where it is missing
// the font matcher falls back to another font.
void useJapaneseFont();

// The real platform services, installed as the shared settings' platform for as long as this
// lives (main() holds one).
class DesktopPlatform {
  public:
    DesktopPlatform();
    ~DesktopPlatform();
    DesktopPlatform(const DesktopPlatform&) = delete;
    DesktopPlatform& operator=(const DesktopPlatform&) = delete;

  private:
    QtPrompter prompter_;
    SdlSoundDevice sound_;
    QtShell shell_;
    SystemRegistry registry_;
    QtScreenInfo screen_;
    Platform platform_{&prompter_, &sound_, &shell_, &registry_, &screen_};
};

} // namespace ProgramStart
