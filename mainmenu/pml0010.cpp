#include "pml0010.h"

#include "countformat.h"
#include "dataerror.h"
#include "fittedlabel.h"
#include "mediapath.h"
#include "picturebox.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "textfit.h"
#include "wincolor.h"
#include "worddatafile.h"

#include <cstdio>

using namespace PMCM000;

namespace {
// A picture that the word-data file names but that is not beside it.
struct PictureMissing {
    QString path;
};

const QString WrongData = QStringLiteral("単語データが違います。");
const QString NotSaved = QStringLiteral("きろくを ほぞんできませんでした。");

QColor settingColour(const QString& text, qint32 fallback) {
    return WinColor::toQColor(WinColor::parse(text).value_or(fallback));
}

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}
} // namespace

Pml0010::Pml0010(QWidget* parent)
    : QMainWindow(parent)
    , ActivatableForm(this) {
    setObjectName(QStringLiteral("Pml0010"));
    SelectedBigGroup = 0;
    buildControls();
    buildMenus();
    layOut();
    setWindowTitle(FormCaption());
    HideGroupColumn();
    HideSubGroupArea();
    applyColours();
}

void Pml0010::applyColours() {
    const QColor back = settingColour(MainBackColor, WinColor::ButtonFace);
    setBackground(centralWidget(), back);
    setBackground(Fr_1, back);
    const QColor select = settingColour(MainSelectColor, 255);
    for (QWidget* bar : Sh_bar)
        setBackground(bar, select);
}

void Pml0010::Form_Activate() {
    applyColours();
    LevelChosen = false;
    if (DialogOpen) {
        // Back from a dialog: keep the groups, the page and the marks as they are.
        DialogOpen = false;
        return;
    }
    setWindowTitle(FormCaption());
    if (DataFilePath.isEmpty()) {
        platform().prompter->message(
            QStringLiteral("「ファイル」→「ひらく」でたんごデータをえらんでください"), AppTitle);
        return;
    }
    HideGroupColumn();
    HideSubGroupArea();
    guarded("Form_Activate", [this] {
        // A deck rebuilt or copied over meanwhile (also by ひらく of the same path) is read anew.
        WordDataFile::closeIfReplaced(DataFilePath);
        browser_.setDataFile(DataFilePath);
        for (const GroupBrowser::Group& group : browser_.groups()) {
            const int i = group.group - 1;
            // Shown before the picture is read: a missing one is reported, and its place
            // keeps the group's title.
            Im_big[i]->setAccessibleName(group.title);
            Im_big[i]->setPlaceholderText(group.title);
            Im_big[i]->show();
            // The title gives way to the count.
            Lb_groupno[i]->setFittedText(
                group.title, QStringLiteral("  ") + countText(group.total) + QStringLiteral("個"));
            Lb_groupno[i]->show();
            loadPicture(Im_big[i], group.pictureName);
        }
        if (SelectedBigGroup != 0)
            GroupClick(SelectedBigGroup - 1);
    });
}

void Pml0010::HideGroupColumn() {
    for (int i = 0; i < Groups; ++i) {
        Im_big[i]->hide();
        Sh_bar[i]->hide();
        Lb_groupno[i]->hide();
    }
    Bt_rensyu->hide();
    Bt_sraid->hide();
    Bt_syokika->hide();
}

void Pml0010::HideSubGroupArea() {
    Fr_1->setTitle(QString());
    groupTitle_.clear();
    Lb_setumei->setFittedText(QString());
    Lb_setumei->hide();
    for (int r = 0; r < Rows; ++r) {
        Im_syo[r]->hide();
        Ch_syo[r]->hide();
        Lb_sno[r]->hide();
        for (int n = 0; n < Levels; ++n) {
            Lb_level[n][r]->hide();
            Lb_lvkosu[n][r]->hide();
        }
    }
    for (QPushButton* b : {Bt_up, Bt_down, Bt_up1, Bt_down1})
        b->hide();
}

void Pml0010::Im_big_Click(int index) {
    guarded("Im_big_Click", [this, index] { GroupClick(index); });
}

void Pml0010::GroupClick(int index) {
    for (QWidget* bar : Sh_bar)
        bar->hide();
    HideSubGroupArea();
    SelectedBigGroup = static_cast<qint16>(index + 1);
    Sh_bar[index]->show();
    Lb_setumei->show();
    const auto text = browser_.chooseGroup(index + 1);
    if (!text) {
        platform().prompter->message(
            QStringLiteral("該当するグループがありません PML0010 im_big_click"), AppTitle);
        return;
    }
    groupTitle_ = text->title;
    // The frame's title is elided, not shrunk: its type is the whole frame's.
    Fr_1->setTitle(
        TextFit::line(groupTitle_, Fr_1->font(), Fr_1->width() - FrameTitleMargin, QString(), 1.0)
            .text);
    Lb_setumei->setFittedText(text->description);
    PageDisplay();
}

void Pml0010::PageDisplay() {
    for (int r = 0; r < Rows; ++r) {
        Im_syo[r]->hide();
        Ch_syo[r]->hide();
        Lb_sno[r]->hide();
        for (int n = 0; n < Levels; ++n) {
            Lb_level[n][r]->hide();
            Lb_lvkosu[n][r]->hide();
        }
    }
    for (QPushButton* b : {Bt_up, Bt_down, Bt_up1, Bt_down1})
        b->hide();

    const GroupBrowser::Page page = browser_.showPage();
    for (int r = 0; r < page.rows.size(); ++r) {
        const GroupBrowser::Row& row = page.rows[r];
        const QString name = QStringLiteral("No. %1 %2").arg(row.sgroup).arg(groupTitle_);
        Im_syo[r]->setAccessibleName(name);
        Im_syo[r]->setPlaceholderText(QStringLiteral("No. %1").arg(row.sgroup));
        Ch_syo[r]->setAccessibleName(name);
        Im_syo[r]->show();
        Ch_syo[r]->show();
        Lb_sno[r]->setFittedText(QStringLiteral("No.") + countText(row.sgroup));
        Lb_sno[r]->show();
        loadPicture(Im_syo[r], row.pictureName);
        SuppressFlag = 1;
        Ch_syo[r]->setChecked(row.marked);
        SuppressFlag = 0;
        ShowRowTallies(r, row);
    }
    if (!page.complete) {
        platform().prompter->message(
            QStringLiteral("該当する小グループがありません PML0010 im_big_click"), AppTitle);
        return;
    }
    Bt_up->setVisible(page.upVisible);
    Bt_up1->setVisible(page.upVisible);
    Bt_down->setVisible(page.downVisible);
    Bt_down1->setVisible(page.downVisible);
    ShowActionButtons();
}

void Pml0010::ShowRowTallies(int row, const GroupBrowser::Row& content) {
    for (int n = 0; n < Levels; ++n) {
        const auto& count = content.levelCounts[static_cast<size_t>(n)];
        if (!count)
            continue;
        Lb_level[n][row]->show();
        Lb_lvkosu[n][row]->setText(countText(*count) + QStringLiteral("個"));
        Lb_lvkosu[n][row]->show();
    }
}

void Pml0010::ShowActionButtons() {
    const bool visible = browser_.actionsVisible();
    Bt_rensyu->setVisible(visible);
    Bt_sraid->setVisible(visible);
    Bt_syokika->setVisible(visible);
}

void Pml0010::Im_syo_Click(int index) {
    // Flipping the tick box runs its own click reaction.
    Ch_syo[index]->click();
}

void Pml0010::Ch_syo_Click(int index) {
    if (SuppressFlag == 1) {
        SuppressFlag = 0;
        return;
    }
    guarded("Ch_syo_Click", [this, index] { browser_.toggleMark(index); });
    // The box shows what the file holds, also when the write was refused.
    Ch_syo[index]->setChecked(browser_.RowMark[static_cast<size_t>(index)] == 1);
    ShowActionButtons();
}

void Pml0010::Bt_down_Click() {
    guarded("Bt_down_Click", [this] {
        browser_.pageDown();
        PageDisplay();
    });
}

void Pml0010::Bt_up_Click() {
    guarded("Bt_up_Click", [this] {
        browser_.pageUp();
        PageDisplay();
    });
}

void Pml0010::Bt_down1_Click() {
    guarded("Bt_down1_Click", [this] {
        browser_.lineDown();
        PageDisplay();
    });
}

void Pml0010::Bt_up1_Click() {
    guarded("Bt_up1_Click", [this] {
        browser_.lineUp();
        PageDisplay();
    });
}

void Pml0010::Bt_syokika_Click() {
    guarded("Bt_syokika_Click", [this] {
        browser_.reset();
        PageDisplay();
    });
}

void Pml0010::loadPicture(PictureBox* picture, const QString& name) {
    const QString path = MediaPath::findPicture(DataFolder, name);
    if (!picture->loadPicture(path))
        throw PictureMissing{path.isEmpty() ? name : path};
}

void Pml0010::guarded(const char* handler, const std::function<void()>& work) {
    const QString title = QStringLiteral("PML0010") + QString::fromLatin1(handler);
    try {
        work();
    } catch (const GroupBrowser::WriteRefused& error) {
        std::fprintf(stderr, "pimlotan: %s: %s\n", qPrintable(title), error.what());
        platform().prompter->message(NotSaved, title);
    } catch (const DataError& error) {
        std::fprintf(stderr, "pimlotan: %s: %s\n", qPrintable(title), error.what());
        platform().prompter->message(WrongData, title);
    } catch (const PictureMissing& missing) {
        // Tell the parent which picture to put back.
        std::fprintf(stderr, "pimlotan: %s: missing picture %s\n", qPrintable(title),
                     qPrintable(missing.path));
        platform().prompter->message(WrongData, title);
    }
}
