#include "deckchecks.h"

#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <algorithm>
#include <mediapath.h>

namespace {

class Checker {
  public:
    explicit Checker(const QString& folder)
        : folder_(folder) {}

    QList<DeckCheck> run(const Deck& deck) {
        for (const DeckGroup& g : deck.groups) {
            row_ = {DeckCheck::Row::Group, g.group, 0, 0, {}};
            const QString name = QStringLiteral("グループ %1").arg(g.group);
            requireText(g.tittle, name + QStringLiteral("の 名前が ありません"));
            requireText(g.setmei, name + QStringLiteral("の 説明が ありません"));
            refusal_ = QStringLiteral("このグループから 先を 出しません");
            requirePicture(g.ttlimage, name);
            refusal_.clear();
        }
        for (const DeckSubGroup& s : deck.subGroups) {
            row_ = {DeckCheck::Row::SubGroup, s.group, s.sgroup, 0, {}};
            refusal_ = QStringLiteral("この小グループから 先を 出しません");
            requirePicture(s.images, QStringLiteral("小グループ %1-%2").arg(s.group).arg(s.sgroup));
            refusal_.clear();
        }
        QHash<QString, const DeckWord*> firstOfWord;
        for (const DeckWord& w : deck.words) {
            row_ = {DeckCheck::Row::Word, w.group, w.sgroup, w.key, {}};
            const QString name = w.word.trimmed().isEmpty()
                                     ? QStringLiteral("単語（%1-%2）").arg(w.group).arg(w.sgroup)
                                     : QStringLiteral("「%1」").arg(w.word.trimmed());
            requireText(
                w.word,
                QStringLiteral("単語（%1-%2）の 英語が ありません").arg(w.group).arg(w.sgroup));
            requirePicture(w.images, name);
            requireMedia(w.voice, name + QStringLiteral("の 音声"), MediaPath::voice);
            const QString shortName =
                name.size() > 22 ? name.left(20) + QStringLiteral("…」") : name;
            if (w.word.trimmed().size() > longestCardWord)
                report(shortName + QStringLiteral("の 英語が 長すぎて、カードに 入りきりません"));
            if (w.meaning.trimmed().size() > longestCardMeaning)
                report(shortName + QStringLiteral("の 意味が 長すぎて、カードに 入りきりません"));
            const QString folded = w.word.trimmed().toCaseFolded();
            if (folded.isEmpty())
                continue;
            if (const DeckWord* first = firstOfWord.value(folded))
                report(QStringLiteral("%1は 小グループ %2-%3 にも あります")
                           .arg(name)
                           .arg(first->group)
                           .arg(first->sgroup));
            else
                firstOfWord.insert(folded, &w);
        }
        std::stable_partition(checks_.begin(), checks_.end(),
                              [](const DeckCheck& check) { return check.refused; });
        return std::move(checks_);
    }

  private:
    void report(const QString& text) {
        DeckCheck check = row_;
        check.text = text;
        if (!refusal_.isEmpty()) {
            check.refused = true;
            check.text = QStringLiteral("✖ ") + text +
                         QStringLiteral(" … プログラムは「単語データが違います。」と 出して、") +
                         refusal_;
        }
        checks_ << check;
    }

    void requireText(const QString& text, const QString& complaint) {
        if (text.trimmed().isEmpty())
            report(complaint);
    }

    void requirePicture(const QString& name, const QString& owner) {
        requireMedia(name, owner + QStringLiteral("の 絵"), MediaPath::picture);
    }

    void requireMedia(const QString& name, const QString& what,
                      QString (*find)(const QString&, const QString&)) {
        if (name.trimmed().isEmpty()) {
            report(what + QStringLiteral("が ありません"));
            return;
        }
        if (!MediaPath::isPlainName(name)) {
            report(what + QStringLiteral("の ファイル名「%1」が 使えません").arg(name));
            return;
        }
        const QFileInfo file(find(folder_, name));
        if (!file.isFile())
            report(what +
                   QStringLiteral("の ファイルが 見つかりません（%1）").arg(file.fileName()));
        else if (file.size() == 0)
            report(what + QStringLiteral("の ファイルが 空です（%1）").arg(file.fileName()));
        else if (!refusal_.isEmpty() && !QImageReader(file.filePath()).canRead())
            report(what +
                   QStringLiteral("の ファイルが 絵として 読めません（%1）").arg(file.fileName()));
    }

    const QString folder_;
    QString refusal_; // what the program does when this row's picture fails, else empty
    DeckCheck row_;
    QList<DeckCheck> checks_;
};

} // namespace

QList<DeckCheck> checkDeck(const Deck& deck, const QString& mediaFolder) {
    return Checker(mediaFolder).run(deck);
}
