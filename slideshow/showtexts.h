#pragma once

#include <QString>
#include <QtGlobal>

// The fixed texts and colours of the slide-show screen.
namespace ShowTexts {

// A count or position right-aligned in three characters; longer numbers in full.
QString count(int n);
// The counter "  5/ 40".
QString counter(int position, int total);

// The mark of the current level on the information panel (level 0 reads "みてない").
QString levelMark(int level);
// "All" or "Track".
QString modeText(bool allLevels);

inline const QString Stopped = QStringLiteral("■");
inline const QString Playing = QStringLiteral("＞");
inline const QString Paused = QStringLiteral("||");

inline const QString GroupFinished =
    QStringLiteral("えらんだグループがおわりました。れんしゅうをはじめますか？");
inline const QString LevelFinished =
    QStringLiteral("えらんだランクがおわりました。れんしゅうをはじめますか？");
inline const QString FirstCard = QStringLiteral("最初です");

// Colours as 0x00BBGGRR.
inline constexpr qint32 LevelButtonColour = 0xFFC0C0;
inline constexpr qint32 CurrentLevelColour = 0xFF;
inline constexpr qint32 PanelGreen = 0xC000;
// The panel colour after colour: green, orange, light blue, blue, green again; any other
// colour stays as it is.
qint32 nextPanelColour(qint32 colour);

} // namespace ShowTexts
