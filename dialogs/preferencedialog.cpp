#include "preferencedialog.h"

#include "layout.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"

#include <QGuiApplication>
#include <QScreen>

PreferenceDialog::PreferenceDialog(const QString& name)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint)
    , ActivatableForm(this) {
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(PMCM000::AppTitle);
}

void PreferenceDialog::Form_Activate() {
    PMCM000::DialogOpen = true;
    raise();
}

void PreferenceDialog::setDesignClientSize(double height, double width) {
    setFixedSize(Layout::pxH(width), Layout::pxV(height));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void PreferenceDialog::shrinkToFit(QLabel* label) {
    // Below 6 points the text would be harder to read than a clipped one.
    QFont font = label->font();
    const int room = label->contentsRect().width();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}

void PreferenceDialog::reportWriteFailure(const QString& handler) {
    PMCM000::platform().prompter->message(
        QStringLiteral("設定ファイルに書き込めませんでした。\n"
                       "変更はこのまま使えますが、次に起動したときは元に戻ります。"),
        objectName() + handler, Prompter::Icon::Warning);
}
