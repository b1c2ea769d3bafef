// Suggestions for the shown row: pictures by its English word (a group's by its title), or by
// what the parent types in a panel's search box, and meanings by the English word.
#include "deckforms.h"
#include "makerwindow.h"
#include "mediapanels.h"
#include "suggestionchoices.h"

#include <QFutureWatcher>
#include <QLineEdit>
#include <QtConcurrent>
#include <emojipicture.h>

void MakerWindow::connectSuggestions() {
    for (PicturePanel* panel :
         {groupForm_->picture(), subGroupForm_->picture(), wordForm_->picture()}) {
        connect(panel->choices(), &PictureChoices::chosen, this,
                &MakerWindow::chooseSuggestedPicture);
        connect(panel->choices(), &PictureChoices::searchEdited, this,
                &MakerWindow::refreshSuggestions);
    }
    connect(wordForm_->word(), &QLineEdit::textEdited, this, &MakerWindow::refreshSuggestions);
    connect(groupForm_->title(), &QLineEdit::textEdited, this, &MakerWindow::refreshSuggestions);
}

void MakerWindow::loadSuggestions() {
    auto* watcher = new QFutureWatcher<std::shared_ptr<const Suggestions>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (!suggestions_) // a test may have given its own meanwhile
            setSuggestions(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(&Suggestions::loadInstalled));
}

void MakerWindow::setSuggestions(std::shared_ptr<const Suggestions> suggestions) {
    suggestions_ = std::move(suggestions);
    refreshSuggestions();
}

void MakerWindow::refreshSuggestions() {
    const std::optional<Kind> kind = session_.shownKind();
    if (!suggestions_ || !kind || !editor())
        return;
    const QString images = editor()->folder() + QStringLiteral("images");
    PicturePanel* panel = *kind == Kind::Group      ? groupForm_->picture()
                          : *kind == Kind::SubGroup ? subGroupForm_->picture()
                                                    : wordForm_->picture();
    // A search typed in the panel wins over the row's own word.
    QString word = panel->choices()->search()->text().trimmed();
    if (word.isEmpty())
        word = *kind == Kind::Group  ? groupForm_->title()->text()
               : *kind == Kind::Word ? wordForm_->word()->text()
                                     : QString();
    // The row's own picture is not offered again: once a suggestion is stored under the
    // row's name, it would come first and push the others along under the mouse.
    QList<Suggestions::Picture> pictures = suggestions_->pictures(word, images, 8 + 1);
    pictures.removeIf([this](const Suggestions::Picture& picture) {
        return !picture.deckPicture.isEmpty() &&
               picture.deckPicture.compare(shownPicture(), Qt::CaseInsensitive) == 0;
    });
    panel->choices()->show(pictures.first(std::min<qsizetype>(pictures.size(), 8)), images);
    if (*kind == Kind::Word)
        wordForm_->meaningChoices()->show(suggestions_->meanings(wordForm_->word()->text()));
}

void MakerWindow::chooseSuggestedPicture(const Suggestions::Picture& picture) {
    if (!editor() || deckGone())
        return;
    const MakerSession::PictureTarget target = session_.pictureTarget();
    if (target.name.isEmpty())
        return;
    if (!picture.deckPicture.isEmpty()) {
        // The deck has it already: the row names it, nothing is copied.
        changing([&] { session_.setPicture({target.kind, picture.deckPicture}); });
        return;
    }
    const bool menu = target.kind != Kind::Word;
    const QSize size =
        PictureImport::storedSize(menu ? EmojiPicture::MenuShape : EmojiPicture::CardShape);
    const int depth = target.kind == Kind::Group ? 2 : target.kind == Kind::SubGroup ? 1 : 0;
    const QImage image = EmojiPicture::draw(
        picture.emoji, size, EmojiPicture::softBackground(session_.chosenGroup(), depth));
    storePicture([&](const QString& folder, const QString& name) {
        return PictureImport::storeImage(image, folder, name);
    });
}

QImage MakerWindow::drawnSuggestion(const QString& emoji, Kind kind, qint64 group) const {
    const bool menu = kind != Kind::Word;
    const QSize size =
        PictureImport::storedSize(menu ? EmojiPicture::MenuShape : EmojiPicture::CardShape);
    const int depth = kind == Kind::Group ? 2 : kind == Kind::SubGroup ? 1 : 0;
    return EmojiPicture::draw(emoji, size, EmojiPicture::softBackground(group, depth));
}

QString MakerWindow::shownPicture() const {
    const std::optional<Kind> kind = session_.shownKind();
    if (!kind || !editor())
        return {};
    const qint64 group = session_.chosenGroup();
    switch (*kind) {
    case Kind::Group:
        return editor()->group(group)->ttlimage;
    case Kind::SubGroup:
        return editor()->subGroup(group, session_.chosenSubGroup())->images;
    case Kind::Word:
        break;
    }
    return editor()->word(session_.chosenWords().first())->images;
}
