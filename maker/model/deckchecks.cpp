#include "deckchecks.h"

#include "makertexts.h"

#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <algorithm>
#include <deckvalidator.h>
#include <map>
#include <mediapath.h>
#include <tuple>

namespace {

using RowId = std::tuple<DeckProblem::Table, qint64, qint64, qint64>;

// The deck rules' problems in the maker's words, row by row, with the maker's own advice (texts
// longer than a card shows, a word twice) and the main menu's refusal of a picture it cannot
// read, which the rules (without an image reader) leave to the maker.
class Checker {
  public:
    Checker(const Deck& deck, const QString& folder)
        : folder_(folder) {
        for (const DeckProblem& problem : validateDeck(deck, DeckOrigin{}, folder))
            problems_[RowId{problem.table, problem.group, problem.sgroup, problem.key}] << problem;
    }

    QList<DeckCheck> run(const Deck& deck) {
        for (const DeckGroup& g : deck.groups) {
            row_ = {DeckCheck::Row::Group, g.group, 0, 0, {}};
            refusal_ = MakerTexts::GroupRefused;
            owner(MakerTexts::groupName(g.group), DeckProblem::Table::Group, g.ttlimage);
        }
        for (const DeckSubGroup& s : deck.subGroups) {
            row_ = {DeckCheck::Row::SubGroup, s.group, s.sgroup, 0, {}};
            refusal_ = MakerTexts::SubGroupRefused;
            owner(MakerTexts::subGroupName(s.group, s.sgroup), DeckProblem::Table::SubGroup,
                  s.images);
        }
        refusal_.clear();
        QHash<QString, const DeckWord*> firstOfWord;
        for (const DeckWord& w : deck.words) {
            row_ = {DeckCheck::Row::Word, w.group, w.sgroup, w.key, {}};
            const QString name = MakerTexts::wordName(w.word, w.group, w.sgroup);
            for (const DeckProblem& problem : rowProblems(DeckProblem::Table::Word))
                report(MakerTexts::problemText(problem, name));
            const QString shortName =
                name.size() > 22 ? name.left(20) + QStringLiteral("…」") : name;
            if (w.word.trimmed().size() > longestCardWord)
                report(shortName + MakerTexts::WordTooLong);
            if (w.meaning.trimmed().size() > longestCardMeaning)
                report(shortName + MakerTexts::MeaningTooLong);
            const QString folded = w.word.trimmed().toCaseFolded();
            if (folded.isEmpty())
                continue;
            if (const DeckWord* first = firstOfWord.value(folded))
                report(MakerTexts::WordTwice.arg(name).arg(first->group).arg(first->sgroup));
            else
                firstOfWord.insert(folded, &w);
        }
        std::stable_partition(checks_.begin(), checks_.end(),
                              [](const DeckCheck& check) { return check.refused; });
        return std::move(checks_);
    }

  private:
    QList<DeckProblem> rowProblems(DeckProblem::Table table) const {
        const auto found = problems_.find(RowId{table, row_.group, row_.sgroup, row_.key});
        return found == problems_.end() ? QList<DeckProblem>() : found->second;
    }

    // A group or sub-group: a problem with its picture makes the main menu refuse the deck.
    void owner(const QString& name, DeckProblem::Table table, const QString& picture) {
        bool pictureChecked = false;
        for (const DeckProblem& problem : rowProblems(table)) {
            const bool isPicture = problem.field == u"ttlimage" || problem.field == u"images";
            pictureChecked |= isPicture;
            report(MakerTexts::problemText(problem, name), isPicture);
        }
        if (pictureChecked)
            return;
        const QFileInfo file(MediaPath::findPicture(folder_, picture));
        if (!QImageReader(file.filePath()).canRead())
            report(MakerTexts::PictureUnreadable.arg(name, file.fileName()), true);
    }

    void report(const QString& text, bool refused = false) {
        DeckCheck check = row_;
        check.text = text;
        if (refused) {
            check.refused = true;
            check.text = MakerTexts::refusedText(text, refusal_);
        }
        checks_ << check;
    }

    const QString folder_;
    std::map<RowId, QList<DeckProblem>> problems_;
    QString refusal_; // what the program does when this row's picture fails
    DeckCheck row_;
    QList<DeckCheck> checks_;
};

} // namespace

QList<DeckCheck> checkDeck(const Deck& deck, const QString& mediaFolder) {
    return Checker(deck, mediaFolder).run(deck);
}
