#pragma once

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

} // namespace ProgramStart
