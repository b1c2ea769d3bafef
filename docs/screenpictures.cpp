#include "screenpictures.h"

#include "activatableform.h"
#include "forms.h"
#include "layout.h"
#include "makerpictures.h"
#include "manualforms.h"
#include "platform/qtshell.h"
#include "pmcm000.h"
#include "quietplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <functional>

using namespace PMCM000;

namespace {

// What the steps of one scene need: the form, and where to note what went wrong.
struct Stage {
    QWidget* form;
    QStringList& problems;
    QString scene;

    QWidget* control(const QString& name) const {
        auto* widget = form->findChild<QWidget*>(name);
        if (!widget)
            problems << scene + QStringLiteral(": no control ") + name;
        return widget;
    }

    // Clicks a control as a user would: buttons and tick boxes by click(), pictures and
    // labels by a press and release of the left mouse button.
    void click(const QString& name) const {
        QWidget* widget = control(name);
        if (!widget)
            return;
        if (!widget->isVisibleTo(form) || !widget->isEnabled()) {
            problems << scene + QStringLiteral(": ") + name + QStringLiteral(" cannot be clicked");
            return;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->click();
        } else {
            const QPointF centre = QRectF(widget->rect()).center();
            const QPointF global = widget->mapToGlobal(centre);
            QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
        settle();
    }

    // Lets timers run until done() holds, at most timeoutMs.
    void waitUntil(const std::function<bool()>& done, int timeoutMs, const QString& what) const {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        if (!done())
            problems << scene + QStringLiteral(": gave up waiting for ") + what;
    }

    static void settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

struct Scene {
    QString picture;
    Forms::Id form;
    std::function<void(const Stage&)> steps;
};

// The scenes in the order they are played: later ones build on the marks and gradings of
// earlier ones, and the dialogs come last because they leave DialogOpen set.
QList<Scene> scenes() {
    return {
        {QStringLiteral("mainmenu-start"), Forms::Id::MainMenu, [](const Stage&) {}},
        {QStringLiteral("mainmenu"), Forms::Id::MainMenu,
         [](const Stage& s) {
             s.click(QStringLiteral("Im_big(0)"));
             s.click(QStringLiteral("Ch_syo(0)"));
             s.click(QStringLiteral("Ch_syo(1)"));
         }},
        {QStringLiteral("practice"), Forms::Id::Practice,
         [](const Stage& s) {
             s.click(QStringLiteral("BT_level(0)"));
             s.click(QStringLiteral("Im_word(1)")); // turned to its word side
             s.click(QStringLiteral("BT_NG(2)"));
             s.click(QStringLiteral("BT_OK(4)")); // cleared
         }},
        {QStringLiteral("slideshow"), Forms::Id::SlideShow,
         [](const Stage& s) {
             s.click(QStringLiteral("BT_WAV"));
             // Taken while the card is held at full size.
             const int fullWidth = Layout::pxH(6270) - 1;
             QWidget* picture = s.control(QStringLiteral("Image1"));
             if (picture)
                 s.waitUntil([picture, fullWidth] { return picture->width() >= fullWidth; }, 5000,
                             QStringLiteral("the picture to grow"));
         }},
        {QStringLiteral("colours"), Forms::Id::ColourDialog, [](const Stage&) {}},
        {QStringLiteral("sounds"), Forms::Id::SoundDialog, [](const Stage&) {}},
        {QStringLiteral("datafile"), Forms::Id::DataFileDialog,
         [](const Stage& s) {
             // The path as it reads on a user's machine rather than in the build tree.
             if (auto* path = qobject_cast<QLabel*>(s.control(QStringLiteral("Lb_F_Dir"))))
                 path->setText(
                     QStringLiteral("/home/user/") +
                     QDir(DocumentsFolder + QStringLiteral("..")).relativeFilePath(path->text()));
         }},
        {QStringLiteral("about"), Forms::Id::About, [](const Stage&) {}},
    };
}

// The settings and data file as a user's would be after the first start on the deck.
bool prepareSettings(const QString& appFolder, const QString& deck, QStringList& problems) {
    ResolveDocumentsFolder();
    ResolveAppFolder();
    if (!PrepareSettingsFolder()) {
        problems << QStringLiteral("no Morvini.ini in ") + appFolder;
        return false;
    }
    ComputeScreenScale();
    // Marks and gradings of the scenes go into a copy; the deck itself stays as built.
    const QFileInfo source(deck);
    const QString copyFolder = SettingsFolder + QStringLiteral("sample/");
    // Without the deck the screens are drawn empty, and the dialogs still as they are.
    if (QDir().mkpath(copyFolder) &&
        QFile::copy(source.absoluteFilePath(), copyFolder + source.fileName()) &&
        copyMissingFiles(source.absolutePath() + QStringLiteral("/images"),
                         copyFolder + QStringLiteral("images")))
        SaveDataFilePath(copyFolder + source.fileName());
    else
        problems << QStringLiteral("cannot copy the deck ") + deck;
    LoadColourSettings();
    LoadSoundSettings();
    LoadEffectSoundChoices();
    DialogOpen = false;
    PracticeMode = true;
    return true;
}

} // namespace

QImage framed(QWidget* window) {
    const QPixmap content = window->grab();
    const qreal ratio = content.devicePixelRatio();
    const QSize size = content.deviceIndependentSize().toSize();
    const int bar = 28;
    QImage image(QSize(size.width() + 2, size.height() + bar + 1) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(0x50, 0x58, 0x64));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = QApplication::font();
    font.setPointSizeF(10);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(12, 0, size.width() - 50, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     window->windowTitle());
    painter.drawText(QRect(size.width() - 30, 0, 24, bar), Qt::AlignCenter, QStringLiteral("✕"));
    painter.drawPixmap(QPoint(1, bar), content);
    return image;
}

ScreenPictures takeScreenPictures(const QString& appFolder, const QString& deck,
                                  const QString& workFolder) {
    ScreenPictures result;
    const QString documents = workFolder + QStringLiteral("/Documents");
    QDir().mkpath(documents);
    QuietPlatform quiet(appFolder + QStringLiteral("/pimlotan"), documents);
    SetPlatform(&quiet.platform());
    ResetSharedSettings();

    const QImage splash(appFolder + QStringLiteral("/pimlotan.bmp"));
    if (splash.isNull())
        result.problems << QStringLiteral("splash: no pimlotan.bmp in ") + appFolder;
    else
        result.pictures.insert(QStringLiteral("splash"), splash);

    const bool prepared = prepareSettings(appFolder, deck, result.problems);
    quiet.forgetMessages(); // the first start's copy messages are expected
    if (prepared) {
        registerManualForms();
        for (const Scene& scene : scenes()) {
            QWidget* form = Forms::show(scene.form);
            if (!form) {
                result.problems << scene.picture + QStringLiteral(": form not available");
                continue;
            }
            ActivationTracker::instance().windowActivated(form);
            Stage::settle();
            scene.steps(Stage{form, result.problems, scene.picture});
            Stage::settle();
            result.pictures.insert(scene.picture, framed(form));
        }
        Forms::unloadAll();
        Stage::settle();
        Forms::clear();
        // The maker on the deck the screens used, graded as they left it, with its voices.
        const QString shown =
            QStringLiteral("/home/user/") +
            QDir(DocumentsFolder + QStringLiteral("..")).relativeFilePath(DataFilePath);
        if (DataFilePath.isEmpty() ||
            !copyMissingFiles(QFileInfo(deck).absolutePath() + QStringLiteral("/voice"),
                              QFileInfo(DataFilePath).absolutePath() + QStringLiteral("/voice")))
            result.problems << QStringLiteral("maker: no deck with voices to show");
        else
            takeMakerPictures(DataFilePath, shown, result.pictures, result.problems);
        // The question asked when an older deck is chosen: drawn, never waited on.
        QMessageBox question(QMessageBox::Question, AppTitle, PMCM000::OlderDeckQuestion,
                             QMessageBox::Yes | QMessageBox::No);
        question.show();
        Stage::settle();
        result.pictures.insert(QStringLiteral("olderdeck"), framed(&question));
        question.close();
    }
    for (const QString& message : quiet.messages())
        result.problems << QStringLiteral("message shown: ") + message;
    SetPlatform(nullptr);
    return result;
}
