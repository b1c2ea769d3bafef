// Qt's own dialogs speak Japanese, whatever the system's locale.
#include "platform/japanesetranslation.h"
#include "testmain.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {
QStringList buttonTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        if (!button->text().isEmpty())
            texts << button->text();
    texts.sort();
    return texts;
}
} // namespace

class TestTranslation : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(loadJapaneseTranslation(*QCoreApplication::instance())); }

    void messageBoxAnswersInJapanese() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("MORVミルタ"),
                        QStringLiteral("はじめますか？"), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    }

    void standardDialogsInJapanese_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("file dialog")
            << QStringLiteral("file")
            << QStringList{QStringLiteral("キャンセル"), QStringLiteral("開く(&O)")};
        QTest::newRow("colour dialog")
            << QStringLiteral("colour")
            << QStringList{QStringLiteral("OK"), QStringLiteral("カスタムカラーに追加(&A)"),
                           QStringLiteral("キャンセル"),
                           QStringLiteral("スクリーンの色を取得(&P)")};
    }
    void standardDialogsInJapanese() {
        QFETCH(QString, dialog);
        QFETCH(QStringList, buttons);
        std::unique_ptr<QDialog> shown;
        if (dialog == QStringLiteral("file")) {
            auto* files =
                new QFileDialog(nullptr, QString(), QDir::tempPath(), QStringLiteral("*.pml"));
            files->setOption(QFileDialog::DontUseNativeDialog);
            files->setAcceptMode(QFileDialog::AcceptOpen);
            shown.reset(files);
        } else {
            auto* colours = new QColorDialog;
            colours->setOption(QColorDialog::DontUseNativeDialog);
            shown.reset(colours);
        }
        shown->show();
        buttons.sort();
        QCOMPARE(buttonTexts(*shown), buttons);
    }
};

PIMLOTAN_TEST_MAIN(TestTranslation)
#include "tst_translation.moc"
