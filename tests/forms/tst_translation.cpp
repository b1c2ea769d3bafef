// Qt's own dialogs speak Japanese, whatever the system's locale.
#include "platform/japanesetranslation.h"
#include "testmain.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

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
        QMessageBox box(QMessageBox::Question, u"MORVミルタ"_s, u"はじめますか？"_s,
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), u"はい(&Y)"_s);
        QCOMPARE(box.button(QMessageBox::No)->text(), u"いいえ(&N)"_s);
    }

    void standardDialogsInJapanese_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("file dialog") << u"file"_s << QStringList{u"キャンセル"_s, u"開く(&O)"_s};
        QTest::newRow("colour dialog") << u"colour"_s
                                       << QStringList{u"OK"_s, u"カスタムカラーに追加(&A)"_s,
                                                      u"キャンセル"_s, u"スクリーンの色を取得(&P)"_s};
    }
    void standardDialogsInJapanese() {
        QFETCH(QString, dialog);
        QFETCH(QStringList, buttons);
        std::unique_ptr<QDialog> shown;
        if (dialog == u"file"_s) {
            auto* files = new QFileDialog(nullptr, QString(), QDir::tempPath(), u"*.pml"_s);
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
