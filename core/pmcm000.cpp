#include "pmcm000.h"

#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/screeninfo.h"
#include "platform/shell.h"
#include "platform/sounddevice.h"
#include "settingsfile.h"

#include <QFileInfo>
#include <cmath>

namespace PMCM000 {

namespace {
Platform* installedPlatform = nullptr;

QString withTrailingSeparator(QString folder) {
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder;
}

// Whole number nearest to value, halves going to the even neighbour.
qint64 roundHalfEven(double value) {
    return static_cast<qint64>(std::nearbyint(value));
}
} // namespace

void SetPlatform(Platform* platform) {
    installedPlatform = platform;
}

Platform& platform() {
    Q_ASSERT(installedPlatform);
    return *installedPlatform;
}

void ResetSharedSettings() {
    for (QString* text : {&AppFolder, &DocumentsFolder, &SettingsFolder, &DataFilePath, &DataFolder,
                          &WindowTitle, &MainBackColor, &PracticeBackColor, &SlideBackColor,
                          &MainSelectColor, &NgColor, &OkColor, &OkSoundPath, &NgSoundPath})
        text->clear();
    VoiceVolume = OkSoundVolume = NgSoundVolume = 0;
    EffectSoundsOn = true;
    SlideInterval = 0;
    StartupWaveVolume = 0xFFFFFFFFu;
    SoundChoices = {};
    OkSoundIndex = NgSoundIndex = QVariant();
    DialogOpen = false;
    PracticeMode = true;
    SelectedBigGroup = SelectedLevel = 0;
    LevelChosen = false;
    HeightFactor = WidthFactor = 1.0;
    ComputeScreenScale();
}

void ResolveDocumentsFolder() {
    QString folder = platform().shell->documentsFolder();
    while (folder.endsWith(u' '))
        folder.chop(1);
    DocumentsFolder = withTrailingSeparator(folder);
}

void ResolveAppFolder() {
    AppFolder = withTrailingSeparator(SettingsFile::folderOf(platform().shell->programFile()));
}

bool LocateSettingsFolder() {
    const QStringList marker =
        SettingsFile::readLines(AppFolder + QStringLiteral("Morvini.ini"), 1);
    QString folderName = marker.isEmpty() ? QString() : SettingsFile::firstField(marker.first());
    folderName.replace(u'\\', u'/');
    if (folderName.isEmpty())
        return false;
    SettingsFolder = withTrailingSeparator(DocumentsFolder + folderName);
    return true;
}

bool PrepareSettingsFolder() {
    if (!LocateSettingsFolder())
        return false;

    const bool complete = SettingsFile::exists(SettingsFolder + EffectSoundSettings) &&
                          SettingsFile::exists(SettingsFolder + SoundSettings) &&
                          SettingsFile::exists(SettingsFolder + ColourSettings) &&
                          QFileInfo(SettingsFolder).isDir();
    if (complete)
        return true;

    Prompter& prompter = *platform().prompter;
    prompter.message(QStringLiteral("設定ファイルをコピーします。キャンセルしないでください！"
                                    "始めますのでOKボタンをクリックしてください。"),
                     AppTitle);
    if (platform().shell->copyMissingFiles(AppFolder + QStringLiteral("Ini/"), SettingsFolder))
        prompter.message(
            QStringLiteral("設定ファイルをコピーしました。OKボタンをクリックしてください。"),
            AppTitle);
    else
        prompter.message(QStringLiteral("処理が中断されました。"), AppTitle);
    return true;
}

void ComputeScreenScale() {
    qint64 pixelTwips = 15;
    qint64 screenPixels = 768;
    qint64 screenWidthPixels = 0;
    if (installedPlatform && installedPlatform->screen) {
        pixelTwips = roundHalfEven(installedPlatform->screen->twipsPerPixelY());
        if (pixelTwips <= 0)
            pixelTwips = 15;
        screenPixels = roundHalfEven(installedPlatform->screen->heightTwips()) / pixelTwips;
        if (screenPixels <= 0)
            screenPixels = 768;
        screenWidthPixels = roundHalfEven(installedPlatform->screen->widthTwips()) / pixelTwips;
    }
    const double hpx = static_cast<double>(screenPixels);
    HeightFactor = hpx / 768;
    WidthFactor = hpx / (768.0 / 1024.0) / 1024;
    // A screen narrower than 4:3 (5:4, a portrait one) would get forms wider than itself: the
    // whole form is scaled by the width then.
    if (screenWidthPixels > 0 && screenWidthPixels / 1024.0 < HeightFactor)
        HeightFactor = WidthFactor = screenWidthPixels / 1024.0;

    const double h = HeightFactor;
    const double w = WidthFactor;
    FormHeight = h * 10700;
    FormWidth = w * 15045;
    FormScaleHeight = h * 10185;
    FormScaleWidth = w * 14925;
    FontSize8 = h * 8;
    FontSize9 = h * 9;
    FontSize10 = h * 10;
    FontSize12 = h * 12;
    FontSize18 = h * 18;
    FontSize24 = h * 24;
    MenuButtonHeight = h * 960;
    MenuButtonWidth = w * 1350;
    PageButtonHeight = h * 645;
    PageButtonWidth = w * 555;
    SubGroupPictureHeight = h * 768;
    SubGroupPictureWidth = w * 1080;
    GroupFrameHeight = h * 8325;
    GroupFrameWidth = w * 9450;
    DescriptionHeight = h * 510;
    DescriptionWidth = w * 8745;
    LevelButtonHeight = h * 375;
    LevelButtonWidth = w * 1815;
    SquareButtonHeight = h * 660;
    SquareButtonWidth = w * 660;
    SliderHeight = h * 345;
    SliderWidth = w * 2527;
    SmallButtonHeight = h * 375;
    SmallButtonWidth = w * 615;
}

void PlaySoundFile(const QString& path, qint16 mode, qint32 volume) {
    if (mode < SoundMode::StartupVolume || mode > SoundMode::AtVolumeWait)
        return;
    SoundDevice& device = *platform().sound;
    if (mode == SoundMode::StartupVolume || mode == SoundMode::StartupVolumeWait) {
        device.setVolume(StartupWaveVolume);
    } else {
        const quint32 channel = static_cast<quint32>(std::clamp(volume, 0, 0xFFFF));
        device.setVolume(channel | (channel << 16));
    }
    device.play(path, mode == SoundMode::StartupVolumeWait || mode == SoundMode::AtVolumeWait);
}

} // namespace PMCM000
