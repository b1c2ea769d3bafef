#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <array>

struct Platform;

// The common module: the settings that every screen shares, the settings files and the
// operations that load and save them, the screen scale and sound output.
namespace PMCM000 {

// Titles of the program's message boxes.
inline const QString AppTitle = QStringLiteral("MORVミルタ");
inline const QString ScreenTitle = QStringLiteral("MORVピムロカード");
// WindowTitle is this prefix (ending in an ideographic space) plus the data file's name.
inline const QString WindowTitlePrefix = QStringLiteral("MORVピムロ英語カード　");

// What the file dialogs offer when a deck is chosen, in the program and in the deck maker.
inline const QString DeckFileFilter = QStringLiteral("単語データ|*.pml");
// The question asked before an older (Access 2000-format) deck is converted (also drawn in the
// manual).
inline const QString OlderDeckQuestion =
    QStringLiteral("このたんごデータは ふるい かたちです。あたらしい かたちに うつして "
                   "つかいますか？（もとの ファイルは かわりません）");

// Folders and paths. Folders always end with a separator.
inline QString AppFolder;
inline QString DocumentsFolder;
inline QString SettingsFolder;
inline QString DataFilePath;
inline QString DataFolder;
inline QString WindowTitle;

// Colours, held as the signed decimal text read from the file.
inline QString MainBackColor;
inline QString PracticeBackColor;
inline QString SlideBackColor;
inline QString MainSelectColor;
inline QString NgColor;
inline QString OkColor;

// Sound options.
inline qint32 VoiceVolume = 0;
inline qint32 OkSoundVolume = 0;
inline qint32 NgSoundVolume = 0;
inline bool EffectSoundsOn = true;
inline qint16 SlideInterval = 0;
inline quint32 StartupWaveVolume = 0xFFFFFFFFu;

// Effect-sound choices: entries 0..3 are sound files, 4 and 5 the index texts as read.
inline std::array<QString, 6> SoundChoices;
// An index holds either the text read from the file (written back unchanged) or an int set
// by the sound dialog (written in the number style).
inline QVariant OkSoundIndex;
inline QVariant NgSoundIndex;
inline QString OkSoundPath;
inline QString NgSoundPath;

// Run-time state, not stored.
inline bool DialogOpen = false;
inline bool PracticeMode = true;
inline qint16 SelectedBigGroup = 0;
inline qint16 SelectedLevel = 0;
inline bool LevelChosen = false;

// Screen scale and the ready-scaled layout metrics (twips, or points for fonts).
inline double HeightFactor = 1.0;
inline double WidthFactor = 1.0;
inline double FormHeight = 10700, FormWidth = 15045;
inline double FormScaleHeight = 10185, FormScaleWidth = 14925;
inline double FontSize8 = 8, FontSize9 = 9, FontSize10 = 10, FontSize12 = 12, FontSize18 = 18,
              FontSize24 = 24;
inline double MenuButtonHeight = 960, MenuButtonWidth = 1350;
inline double PageButtonHeight = 645, PageButtonWidth = 555;
inline double SubGroupPictureHeight = 768, SubGroupPictureWidth = 1080;
inline double GroupFrameHeight = 8325, GroupFrameWidth = 9450;
inline double DescriptionHeight = 510, DescriptionWidth = 8745;
inline double LevelButtonHeight = 375, LevelButtonWidth = 1815;
inline double SquareButtonHeight = 660, SquareButtonWidth = 660;
inline double SliderHeight = 345, SliderWidth = 2527;
inline double SmallButtonHeight = 375, SmallButtonWidth = 615;

// The platform services; main() or a test fixture sets them before anything else runs.
void SetPlatform(Platform* platform);
Platform& platform();
// Puts every shared variable back to its start value (tests).
void ResetSharedSettings();

void ResolveDocumentsFolder();
void ResolveAppFolder();
// False when the program folder's Morvini.ini cannot be read, so SettingsFolder is unknown.
bool PrepareSettingsFolder();
// Sets SettingsFolder from Morvini.ini without copying any settings file into it (the deck
// maker reads the user's settings but never makes them). False as above.
bool LocateSettingsFolder();
void ComputeScreenScale();

void LoadDataFilePath();
void LoadColourSettings();
void LoadSoundSettings();
void LoadEffectSoundChoices();
// The savers report whether the file was written; a failed write leaves the old file intact.
bool SaveSoundSettings();
bool SaveEffectSoundChoices();
// Remembers path in PML010.ini and reloads it, as choosing a data file does.
bool SaveDataFilePath(const QString& path);
// The caption of the large forms: WindowTitle, or the application title while no deck is open
// (an empty caption reads as a broken window in the task bar).
QString FormCaption();
// PML010.ini holds the path as one quoted line, so a path with a double quote, a line break
// or a NUL (all legal on Linux) cannot be remembered: such a choice is refused with a
// message, before anything is written. True when path was refused.
bool RefuseUnstorableDataFilePath(const QString& path);
// Writes the six colour variables to PML020.ini.
bool SaveColourSettings();

// The modes of PlaySoundFile, numbered as the callers have always passed them.
namespace SoundMode {
inline constexpr qint16 StartupVolume = 0;     // at StartupWaveVolume, returns at once
inline constexpr qint16 StartupVolumeWait = 1; // at StartupWaveVolume, returns when finished
inline constexpr qint16 AtVolume = 2;          // at the volume given, returns at once
inline constexpr qint16 AtVolumeWait = 3;      // at the volume given, returns when finished
} // namespace SoundMode

// Plays a WAV file in one of the SoundMode modes, volume (0..65535) in both channels; any
// other mode does nothing.
void PlaySoundFile(const QString& path, qint16 mode, qint32 volume);

// The names of the settings files in SettingsFolder.
inline const QString DataFileSettings = QStringLiteral("PML010.ini");
inline const QString ColourSettings = QStringLiteral("PML020.ini");
inline const QString SoundSettings = QStringLiteral("PML030.ini");
inline const QString EffectSoundSettings = QStringLiteral("PML040.ini");

} // namespace PMCM000
