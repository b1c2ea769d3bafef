#include "programstart.h"

#include "pmcm000.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <cstdio>

namespace ProgramStart {

std::optional<int> answerHelpOrVersion(QCommandLineParser& parser, const QCommandLineOption& help,
                                       const QCommandLineOption& version, int argc, char** argv,
                                       const char* program) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QString::fromLatin1(program));
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", program, PIMLOTAN_VERSION);
        return 0;
    }
    return std::nullopt;
}

void useJapaneseFont() {
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), font.family()});
    QApplication::setFont(font);
}

DesktopPlatform::DesktopPlatform() {
    PMCM000::SetPlatform(&platform_);
}

DesktopPlatform::~DesktopPlatform() {
    PMCM000::SetPlatform(nullptr);
}

} // namespace ProgramStart
