// Shows the group browser's groups and pages on the main menu's controls.
#include "background.h"
#include "countformat.h"
#include "fittedlabel.h"
#include "picturebox.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "pmcm000.h"
#include "pml0010.h"
#include "wincolor.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace PMCM000;

namespace {
// A colour setting, or the main menu's fixed colour when the text is not a colour.
QColor settingColour(const QString& text, qint32 fallback) {
    return Background::settingColour(text).value_or(WinColor::toQColor(fallback));
}

using Background::paint;
} // namespace

void Pml0010::applyColours() {
    const QColor back = settingColour(MainBackColor, WinColor::ButtonFace);
    paint(centralWidget(), back);
    paint(Fr_1, back);
    const QColor select = settingColour(MainSelectColor, 255);
    for (QWidget* bar : Sh_bar)
        paint(bar, select);
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

// The page's rows and its paging buttons.
void Pml0010::HideRows() {
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

void Pml0010::HideSubGroupArea() {
    Fr_1->setTitle(QString());
    groupTitle_.clear();
    Lb_setumei->setFittedText(QString());
    Lb_setumei->hide();
    HideRows();
}

void Pml0010::PageDisplay() {
    HideRows();

    const GroupBrowser::Page page = browser_.showPage();
    for (int r = 0; r < page.rows.size(); ++r) {
        const GroupBrowser::Row& row = page.rows[r];
        loadPicture(Im_syo[r], row.pictureName);
        const QString name = QStringLiteral("No. %1 %2").arg(row.sgroup).arg(groupTitle_);
        Im_syo[r]->setAccessibleName(name);
        Ch_syo[r]->setAccessibleName(name);
        Im_syo[r]->show();
        Ch_syo[r]->show();
        Lb_sno[r]->setFittedText(QStringLiteral("No.") + countText(row.sgroup));
        Lb_sno[r]->show();
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
