// Every control that a user can press or read, on every screen and dialog, has a name that
// assistive technology can read out.
#include "deckfixture.h"
#include "fakeplatform.h"
#include "frmabout.h"
#include "pmcm000.h"
#include "pml0010.h"
#include "pml0020.h"
#include "pml0030.h"
#include "pmlp0010.h"
#include "pmlp0020.h"
#include "pmlp0030.h"
#include "slideshowengine.h"
#include "testmain.h"
#include "worddatafile.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>

using namespace PMCM000;

namespace {
bool userCanPressOrRead(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty() || !label->pixmap().isNull();
    return qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QAbstractSlider*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QAbstractItemView*>(widget);
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

// The shown controls without a name, and the tick and option boxes that share one (a name
// that only repeats the frame's caption tells the boxes apart no better than none).
QStringList unnamedControls(QWidget* form) {
    QStringList problems;
    QHash<QString, QString> boxNames;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        if (!widget->isVisible() || !userCanPressOrRead(widget))
            continue;
        const QString name = accessibleName(widget);
        if (name.isEmpty()) {
            problems << widget->objectName() + QStringLiteral(": no name");
            continue;
        }
        const auto* button = qobject_cast<QAbstractButton*>(widget);
        if (button && button->isCheckable()) {
            if (boxNames.contains(name))
                problems << widget->objectName() + QStringLiteral(": same name as ") +
                                boxNames.value(name);
            boxNames.insert(name, widget->objectName());
        }
    }
    return problems;
}

void writePictures(const QString& folder, const QStringList& names) {
    QDir().mkpath(folder + QStringLiteral("images"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    for (const QString& name : names)
        image.save(folder + QStringLiteral("images/") + name + QStringLiteral(".jpg"));
}
} // namespace

class TestAccessibleNames : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    QTemporaryDir dir;

    // One group of nine sub-groups, two of them marked, with words at two levels.
    void useDeck() {
        DeckFixture deck;
        deck.group(1, QStringLiteral("どうぶつ"));
        QStringList pictures{QStringLiteral("g1")};
        for (int s = 1; s <= 9; ++s) {
            deck.subGroup(1, s, s <= 2);
            pictures << QStringLiteral("g1s%1").arg(s);
        }
        deck.words(1, 1, 0, 4, 1).words(1, 2, 1, 3, 10);
        for (int key : {1, 2, 3, 4, 10, 11, 12})
            pictures << QStringLiteral("w%1").arg(key);
        const QString path = dir.filePath(QStringLiteral("deck.pml"));
        QFile::remove(path);
        deck.write(path);
        DataFilePath = path;
        DataFolder = dir.path() + u'/';
        writePictures(DataFolder, pictures);
    }

    // Builds the form and brings it to where most of its controls are shown.
    QWidget* open(const QString& which) {
        if (which == QStringLiteral("main menu")) {
            auto* menu = new Pml0010;
            menu->show();
            menu->Form_Activate();
            menu->Im_big_Click(0);
            menu->Ch_syo[0]->click();
            return menu;
        }
        if (which == QStringLiteral("practice")) {
            auto* practice = new PML0020(nullptr, 1);
            practice->show();
            practice->Form_Activate();
            practice->BT_level_Click(0);
            practice->Im_word_Click(1); // one card word side up
            return practice;
        }
        if (which == QStringLiteral("slide show")) {
            auto* show = new PML0030;
            show->show();
            show->Form_Activate();
            show->BT_WAV_Click();
            show->Timer1_Timer();
            return show;
        }
        QWidget* dialog = nullptr;
        if (which == QStringLiteral("colour dialog"))
            dialog = new PMLP0010;
        else if (which == QStringLiteral("sound dialog"))
            dialog = new PMLP0020;
        else if (which == QStringLiteral("data-file dialog"))
            dialog = new PMLP0030;
        else
            dialog = new frmAbout;
        dialog->show();
        return dialog;
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        LoadColourSettings();
        LoadSoundSettings();
        useDeck();
    }
    void cleanup() {
        WordDataFile::closeAll();
        fake.reset();
    }

    void everyControlHasAName_data() {
        QTest::addColumn<QString>("form");
        for (const char* form : {"main menu", "practice", "slide show", "colour dialog",
                                 "sound dialog", "data-file dialog", "about box"})
            QTest::newRow(form) << QString::fromLatin1(form);
    }
    void everyControlHasAName() {
        QFETCH(QString, form);
        std::unique_ptr<QWidget> window(open(form));
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY2(fake->prompter.messages.isEmpty(), qPrintable(fake->prompter.texts().join(u'|')));
        const QStringList problems = unnamedControls(window.get());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }
};

PIMLOTAN_TEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
