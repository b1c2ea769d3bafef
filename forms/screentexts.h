#pragma once

#include <QString>

// Texts that more than one screen shows.
namespace ScreenTexts {

// A row of the word data is not what the screen can show (a Null, a level outside 0..5).
inline const QString WrongData = QStringLiteral("単語データが違います。");
// A grading or a mark could not be written to the file.
inline const QString NotSaved = QStringLiteral("きろくを ほぞんできませんでした。");

// The user manual in the program folder, opened from every screen's ヘルプ menu.
inline const QString ManualFile = QStringLiteral("pimlotan説明書.pdf");

} // namespace ScreenTexts
