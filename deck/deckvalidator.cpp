#include "deckvalidator.h"

#include "mediapath.h"
#include "worddataformat.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

constexpr qint64 int32Max = 2147483647;
constexpr qint64 int32Min = -int32Max - 1;

using MediaPath::pictureFile;
using MediaPath::voiceFile;

QString subGroupName(qint64 group, qint64 sgroup) {
    return QStringLiteral("%1-%2").arg(group).arg(sgroup);
}

class Validator {
  public:
    Validator(const DeckOrigin& origin, const QString& mediaFolder)
        : origin_(origin)
        , media_(mediaFolder) {}

    DeckProblems run(const Deck& deck) {
        QHash<qint64, int> groupLines;
        for (const DeckGroup& g : deck.groups) {
            begin(origin_.groupsFile, g.line, QStringLiteral("group %1").arg(g.group));
            requireTexts(g, DeckFields::groups());
            if (g.group < WordDataFormat::firstGroup || g.group > WordDataFormat::lastGroup)
                report(QStringLiteral("group %1 is not between %2 and %3")
                           .arg(g.group)
                           .arg(WordDataFormat::firstGroup)
                           .arg(WordDataFormat::lastGroup));
            else if (groupLines.contains(g.group))
                report(twice(QStringLiteral("group %1").arg(g.group), groupLines.value(g.group)));
            else
                groupLines.insert(g.group, g.line);
            requireMedia(QStringLiteral("picture"), g.ttlimage, pictureFile);
        }

        QHash<QString, int> subGroupLines;
        for (const DeckSubGroup& s : deck.subGroups) {
            const QString name = subGroupName(s.group, s.sgroup);
            begin(origin_.subGroupsFile, s.line, QStringLiteral("sub-group %1").arg(name));
            requireTexts(s, DeckFields::subGroups());
            if (origin_.groupsComplete && !groupLines.contains(s.group))
                report(QStringLiteral("group %1 does not exist").arg(s.group));
            if (s.sgroup < 1)
                report(QStringLiteral("sub-group number %1 is below 1").arg(s.sgroup));
            else if (subGroupLines.contains(name))
                report(twice(QStringLiteral("sub-group %1").arg(name), subGroupLines.value(name)));
            else
                subGroupLines.insert(name, s.line);
            requireMedia(QStringLiteral("picture"), s.images, pictureFile);
        }

        QHash<qint64, int> keyLines;
        for (const DeckWord& w : deck.words) {
            begin(origin_.wordsFile, w.line, QStringLiteral("word %1").arg(w.key));
            requireTexts(w, DeckFields::words());
            if (w.key < 1 || w.key > int32Max)
                report(QStringLiteral("key %1 is not between 1 and %2").arg(w.key).arg(int32Max));
            else if (keyLines.contains(w.key))
                report(twice(QStringLiteral("key %1").arg(w.key), keyLines.value(w.key)));
            else
                keyLines.insert(w.key, w.line);
            if (origin_.subGroupsComplete &&
                !subGroupLines.contains(subGroupName(w.group, w.sgroup)))
                report(QStringLiteral("sub-group %1 does not exist")
                           .arg(subGroupName(w.group, w.sgroup)));
            if (w.level < WordDataFormat::lowestLevel || w.level > WordDataFormat::highestLevel)
                report(QStringLiteral("level %1 is not between %2 and %3")
                           .arg(w.level)
                           .arg(WordDataFormat::lowestLevel)
                           .arg(WordDataFormat::highestLevel));
            if (w.times < 0 || w.times > int32Max)
                report(
                    QStringLiteral("times %1 is not between 0 and %2").arg(w.times).arg(int32Max));
            if (w.filler1 && (*w.filler1 < int32Min || *w.filler1 > int32Max))
                report(QStringLiteral("filler1 %1 does not fit in 32 bits").arg(*w.filler1));
            requireMedia(QStringLiteral("picture"), w.images, pictureFile);
            requireMedia(QStringLiteral("voice"), w.voice, voiceFile);
        }
        return std::move(problems_);
    }

  private:
    // Sets the row that the next reports are about. Rows of a .pml have no line, so their
    // reports name the row instead.
    void begin(const QString& file, int line, const QString& row) {
        file_ = file;
        line_ = line;
        prefix_ = line > 0 ? QString() : row + QStringLiteral(": ");
    }

    void report(const QString& message) {
        problems_ << DeckProblem{file_, line_, prefix_ + message};
    }

    QString twice(const QString& what, int firstLine) const {
        return firstLine > 0 ? QStringLiteral("%1 is listed twice (first on line %2)")
                                   .arg(what)
                                   .arg(firstLine)
                             : QStringLiteral("%1 is listed twice").arg(what);
    }

    template <typename Record, typename Fields>
    void requireTexts(const Record& record, const Fields& fields) {
        for (const auto& field : fields)
            if (field.kind == FieldKind::Text && field.presence == Presence::Required &&
                field.get(record).toString().trimmed().isEmpty())
                report(QStringLiteral("%1 is empty").arg(field.name));
    }

    // A media name is a plain file name: it is joined to a folder, so it must not leave it.
    void requireMedia(const QString& what, const QString& name, QString (*fileOf)(const QString&)) {
        if (name.trimmed().isEmpty())
            return; // already reported as empty
        if (!MediaPath::isPlainName(name)) {
            report(QStringLiteral("%1 name \"%2\" is not a plain file name").arg(what, name));
            return;
        }
        if (media_.isEmpty())
            return; // the names only

        const QString file = fileOf(name);
        auto known = complaints_.constFind(file);
        if (known == complaints_.cend()) {
            const QFileInfo info(QDir(media_).filePath(file));
            known = complaints_.insert(file, !info.isFile()     ? QStringLiteral("is missing")
                                             : info.size() == 0 ? QStringLiteral("is empty")
                                                                : QString());
        }
        if (!known->isEmpty())
            report(QStringLiteral("%1 %2 %3").arg(what, file, *known));
    }

    const DeckOrigin& origin_;
    const QString media_;
    QHash<QString, QString> complaints_; // per media file: what is wrong with it, or empty
    DeckProblems problems_;
    QString file_;
    int line_ = 0;
    QString prefix_;
};

} // namespace

DeckProblems validateDeck(const Deck& deck, const DeckOrigin& origin, const QString& mediaFolder) {
    return Validator(origin, mediaFolder).run(deck);
}
