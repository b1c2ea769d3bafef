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
        , media_(mediaFolder.isEmpty() ? QString() : QDir(mediaFolder).absolutePath() + u'/') {}

    DeckProblems run(const Deck& deck) {
        QHash<qint64, int> groupLines;
        for (const DeckGroup& g : deck.groups) {
            begin(origin_.groupsFile, g.line, QStringLiteral("group %1").arg(g.group),
                  DeckProblem::Table::Group, g.group);
            requireTexts(g, DeckFields::groups());
            if (g.group < WordDataFormat::firstGroup || g.group > WordDataFormat::lastGroup)
                report(Kind::OutOfRange, QStringLiteral("group"),
                       QStringLiteral("group %1 is not between %2 and %3")
                           .arg(g.group)
                           .arg(WordDataFormat::firstGroup)
                           .arg(WordDataFormat::lastGroup));
            else if (groupLines.contains(g.group))
                report(Kind::Twice, QStringLiteral("group"),
                       twice(QStringLiteral("group %1").arg(g.group), groupLines.value(g.group)));
            else
                groupLines.insert(g.group, g.line);
            requireMedia(QStringLiteral("ttlimage"), g.ttlimage, Medium::Picture);
        }

        QHash<QString, int> subGroupLines;
        for (const DeckSubGroup& s : deck.subGroups) {
            const QString name = subGroupName(s.group, s.sgroup);
            begin(origin_.subGroupsFile, s.line, QStringLiteral("sub-group %1").arg(name),
                  DeckProblem::Table::SubGroup, s.group, s.sgroup);
            requireTexts(s, DeckFields::subGroups());
            if (origin_.groupsComplete && !groupLines.contains(s.group))
                report(Kind::NoParent, QStringLiteral("group"),
                       QStringLiteral("group %1 does not exist").arg(s.group));
            if (s.sgroup < 1)
                report(Kind::OutOfRange, QStringLiteral("sgroup"),
                       QStringLiteral("sub-group number %1 is below 1").arg(s.sgroup));
            else if (s.sgroup > int32Max)
                report(
                    Kind::OutOfRange, QStringLiteral("sgroup"),
                    QStringLiteral("sub-group number %1 is above %2").arg(s.sgroup).arg(int32Max));
            else if (subGroupLines.contains(name))
                report(Kind::Twice, QStringLiteral("sgroup"),
                       twice(QStringLiteral("sub-group %1").arg(name), subGroupLines.value(name)));
            else
                subGroupLines.insert(name, s.line);
            requireMedia(QStringLiteral("images"), s.images, Medium::Picture);
        }

        QHash<qint64, int> keyLines;
        for (const DeckWord& w : deck.words) {
            begin(origin_.wordsFile, w.line, QStringLiteral("word %1").arg(w.key),
                  DeckProblem::Table::Word, w.group, w.sgroup, w.key);
            requireTexts(w, DeckFields::words());
            if (w.key < 1 || w.key > int32Max)
                report(Kind::OutOfRange, QStringLiteral("key"),
                       QStringLiteral("key %1 is not between 1 and %2").arg(w.key).arg(int32Max));
            else if (keyLines.contains(w.key))
                report(Kind::Twice, QStringLiteral("key"),
                       twice(QStringLiteral("key %1").arg(w.key), keyLines.value(w.key)));
            else
                keyLines.insert(w.key, w.line);
            if (origin_.subGroupsComplete &&
                !subGroupLines.contains(subGroupName(w.group, w.sgroup)))
                report(Kind::NoParent, QStringLiteral("sgroup"),
                       QStringLiteral("sub-group %1 does not exist")
                           .arg(subGroupName(w.group, w.sgroup)));
            if (w.level < WordDataFormat::lowestLevel || w.level > WordDataFormat::highestLevel)
                report(Kind::OutOfRange, QStringLiteral("level"),
                       QStringLiteral("level %1 is not between %2 and %3")
                           .arg(w.level)
                           .arg(WordDataFormat::lowestLevel)
                           .arg(WordDataFormat::highestLevel));
            if (w.times < 0 || w.times > int32Max)
                report(
                    Kind::OutOfRange, QStringLiteral("times"),
                    QStringLiteral("times %1 is not between 0 and %2").arg(w.times).arg(int32Max));
            if (w.filler1 && (*w.filler1 < int32Min || *w.filler1 > int32Max))
                report(Kind::OutOfRange, QStringLiteral("filler1"),
                       QStringLiteral("filler1 %1 does not fit in 32 bits").arg(*w.filler1));
            requireMedia(QStringLiteral("images"), w.images, Medium::Picture);
            requireMedia(QStringLiteral("voice"), w.voice, Medium::Voice);
        }
        return std::move(problems_);
    }

  private:
    using Kind = DeckProblem::Kind;
    enum class Medium { Picture, Voice };

    // Sets the row that the next reports are about. Rows of a .pml have no line, so their
    // reports name the row instead.
    void begin(const QString& file, int line, const QString& row, DeckProblem::Table table,
               qint64 group, qint64 sgroup = 0, qint64 key = 0) {
        row_ = DeckProblem(file, line, {});
        row_.table = table;
        row_.group = group;
        row_.sgroup = sgroup;
        row_.key = key;
        prefix_ = line > 0 || file.isEmpty() ? QString() : row + QStringLiteral(": ");
    }

    void report(Kind kind, const QString& field, const QString& message,
                const QString& media = {}) {
        DeckProblem problem = row_;
        problem.message = prefix_ + message;
        problem.kind = kind;
        problem.field = field;
        problem.media = media;
        problems_ << problem;
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
                report(Kind::Empty, QString(field.name),
                       QStringLiteral("%1 is empty").arg(field.name));
    }

    // A media name is a plain file name: it is joined to a folder, so it must not leave it.
    // The file is found as the screens find it: case aside, a BMP where no JPEG is.
    void requireMedia(const QString& field, const QString& name, Medium medium) {
        const QString what =
            medium == Medium::Picture ? QStringLiteral("picture") : QStringLiteral("voice");
        if (name.trimmed().isEmpty())
            return; // already reported as empty
        if (!MediaPath::isPlainName(name)) {
            report(Kind::NotPlainName, field,
                   QStringLiteral("%1 name \"%2\" is not a plain file name").arg(what, name), name);
            return;
        }
        if (media_.isEmpty())
            return; // the names only

        const QString file = medium == Medium::Picture ? pictureFile(name) : voiceFile(name);
        auto known = found_.constFind(file);
        if (known == found_.cend()) {
            const QFileInfo info(medium == Medium::Picture ? folders_.picture(name)
                                                           : folders_.voice(name));
            known = found_.insert(file, {info.fileName(), !info.isFile()     ? Kind::MediaMissing
                                                          : info.size() == 0 ? Kind::MediaEmpty
                                                                             : Kind::Other});
        }
        if (known->kind == Kind::MediaMissing)
            report(known->kind, field, QStringLiteral("%1 %2 is missing").arg(what, file),
                   known->name);
        else if (known->kind == Kind::MediaEmpty)
            report(known->kind, field, QStringLiteral("%1 %2 is empty").arg(what, file),
                   known->name);
    }

    struct Found {
        QString name;
        Kind kind; // MediaMissing, MediaEmpty, or Other when the file is fine
    };

    const DeckOrigin& origin_;
    const QString media_;
    const MediaPath::MediaFolders folders_{media_};
    QHash<QString, Found> found_; // per media file
    DeckProblems problems_;
    DeckProblem row_;
    QString prefix_;
};

} // namespace

DeckProblems validateDeck(const Deck& deck, const DeckOrigin& origin, const QString& mediaFolder) {
    return Validator(origin, mediaFolder).run(deck);
}

namespace {
// One row alone: no file to name, and no other table to look rows up in.
DeckProblems alone(Deck deck) {
    DeckOrigin origin;
    origin.groupsComplete = false;
    origin.subGroupsComplete = false;
    return validateDeck(deck, origin, {});
}
} // namespace

DeckProblems checkRow(const DeckGroup& row) {
    return alone(Deck{{row}, {}, {}, {}});
}
DeckProblems checkRow(const DeckSubGroup& row) {
    return alone(Deck{{}, {row}, {}, {}});
}
DeckProblems checkRow(const DeckWord& row) {
    return alone(Deck{{}, {}, {row}, {}});
}
