// Loading and saving the settings files of the settings folder.
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/sounddevice.h"
#include "pmcm000.h"
#include "settingsfile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <limits>

namespace PMCM000 {

namespace {
using SettingsFile::numberText;

QStringList readSettings(const QString& name, int lineCount) {
    const QString path = SettingsFolder + name;
    if (!SettingsFile::exists(path))
        PrepareSettingsFolder();
    if (!SettingsFile::exists(path) && QFileInfo::exists(path)) {
        // A folder (say) where the file belongs: the copy cannot replace it, so go on without.
        std::fprintf(stderr, "pimlotan: %s is not a file; its settings are left empty\n",
                     qPrintable(QDir::toNativeSeparators(path)));
        return {};
    }
    return SettingsFile::readLines(path, lineCount);
}

QString lineAt(const QStringList& lines, int index) {
    return lines.value(index);
}

// A line that is not a number counts as absent, that is 0.
qint64 numberAt(const QStringList& lines, int index) {
    return SettingsFile::toNumber(lineAt(lines, index)).value_or(0);
}

qint32 volumeAt(const QStringList& lines, int index) {
    return static_cast<qint32>(std::clamp<qint64>(numberAt(lines, index), 0, 0xFFFF));
}

// Only choices 0..3 are sound files; any other index line means the first choice.
QVariant soundIndexAt(const QStringList& lines, int index) {
    const QString text = lineAt(lines, index);
    const auto number = SettingsFile::toNumber(text);
    if (number && *number >= 0 && *number <= 3)
        return text;
    return 0;
}

QString soundIndexText(const QVariant& index) {
    if (index.typeId() == QMetaType::QString)
        return index.toString();
    return numberText(index.toInt());
}

QString soundPathFor(const QVariant& index) {
    const int choice = index.typeId() == QMetaType::QString
                           ? static_cast<int>(SettingsFile::toNumber(index.toString()).value_or(0))
                           : index.toInt();
    return SoundChoices.at(static_cast<size_t>(std::clamp(choice, 0, 3)));
}

void applyDataFilePath(const QString& path) {
    DataFilePath = path;
    WindowTitle = WindowTitlePrefix + SettingsFile::fileNameOf(path);
    DataFolder = SettingsFile::folderOf(path);
}
} // namespace

void LoadDataFilePath() {
    DataFilePath.clear();
    WindowTitle.clear();
    DataFolder.clear();
    const QString path = SettingsFolder + DataFileSettings;
    if (!SettingsFile::exists(path))
        return;
    const QStringList lines = SettingsFile::readLines(path, 1);
    applyDataFilePath(SettingsFile::firstField(lineAt(lines, 0)));
}

QString FormCaption() {
    return WindowTitle.isEmpty() ? AppTitle : WindowTitle;
}

bool RefuseUnstorableDataFilePath(const QString& path) {
    if (!path.contains(u'"') && !path.contains(u'\r') && !path.contains(u'\n') &&
        !path.contains(u'\0'))
        return false;
    platform().prompter->message(
        QStringLiteral("この ファイルの なまえには つかえない もじ（\" や かいぎょう）が "
                       "あります。なまえを かえてから えらんでください。"),
        AppTitle);
    return true;
}

bool SaveDataFilePath(const QString& path) {
    const bool written =
        SettingsFile::writeLines(SettingsFolder + DataFileSettings, {u'"' + path + u'"'});
    if (written)
        LoadDataFilePath();
    else
        applyDataFilePath(path); // still use the chosen file for this run
    return written;
}

void LoadColourSettings() {
    const QStringList lines = readSettings(ColourSettings, 6);
    MainBackColor = lineAt(lines, 0);
    PracticeBackColor = lineAt(lines, 1);
    SlideBackColor = lineAt(lines, 2);
    MainSelectColor = lineAt(lines, 3);
    NgColor = lineAt(lines, 4);
    OkColor = lineAt(lines, 5);
}

bool SaveColourSettings() {
    return SettingsFile::writeLines(
        SettingsFolder + ColourSettings,
        {MainBackColor, PracticeBackColor, SlideBackColor, MainSelectColor, NgColor, OkColor});
}

void LoadSoundSettings() {
    const QStringList lines = readSettings(SoundSettings, 5);
    VoiceVolume = volumeAt(lines, 0);
    OkSoundVolume = volumeAt(lines, 1);
    NgSoundVolume = volumeAt(lines, 2);
    // Stored inverted: 1 means the effect sounds are off.
    EffectSoundsOn = SettingsFile::toNumber(lineAt(lines, 3)) != 1;
    SlideInterval = static_cast<qint16>(std::clamp<qint64>(numberAt(lines, 4),
                                                           std::numeric_limits<qint16>::min(),
                                                           std::numeric_limits<qint16>::max()));
    StartupWaveVolume = platform().sound->volume();
}

bool SaveSoundSettings() {
    const bool written = SettingsFile::writeLines(
        SettingsFolder + SoundSettings,
        {numberText(VoiceVolume), numberText(OkSoundVolume), numberText(NgSoundVolume),
         numberText(EffectSoundsOn ? 0 : 1), numberText(SlideInterval)});
    platform().sound->setVolume(StartupWaveVolume);
    return written;
}

void LoadEffectSoundChoices() {
    const QStringList lines = readSettings(EffectSoundSettings, 6);
    const QString musicFolder = AppFolder + QStringLiteral("music/");
    SoundChoices[0] = musicFolder + lineAt(lines, 0);
    SoundChoices[1] = musicFolder + lineAt(lines, 1);
    SoundChoices[2] = lineAt(lines, 2);
    SoundChoices[3] = lineAt(lines, 3);
    SoundChoices[4] = lineAt(lines, 4);
    SoundChoices[5] = lineAt(lines, 5);
    OkSoundIndex = soundIndexAt(lines, 4);
    NgSoundIndex = soundIndexAt(lines, 5);
    OkSoundPath = soundPathFor(OkSoundIndex);
    NgSoundPath = soundPathFor(NgSoundIndex);
}

bool SaveEffectSoundChoices() {
    const QString path = SettingsFolder + EffectSoundSettings;
    if (!SettingsFile::exists(path))
        PrepareSettingsFolder();
    // The two built-in choices are stored by file name only: they live in the program folder.
    return SettingsFile::writeLines(
        path, {SettingsFile::fileNameOf(SoundChoices[0]), SettingsFile::fileNameOf(SoundChoices[1]),
               SoundChoices[2], SoundChoices[3], soundIndexText(OkSoundIndex),
               soundIndexText(NgSoundIndex)});
}

} // namespace PMCM000
