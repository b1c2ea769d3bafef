#include "olddeck.h"

using namespace Qt::StringLiterals;
using T = JetWriter::Type;

QVariantList OldDeck::word(int key) {
    const int place = (key - 1) % 3;
    const int group = place == 2 ? 2 : 1;
    const int sgroup = place == 1 ? 2 : 1;
    return {key,
            group,
            sgroup,
            key % 6,
            key * 2,
            u"word%1"_s.arg(key),
            key % 4 == 0 ? QVariant() : QVariant(u"ことば%1"_s.arg(key)),
            u"pic%1"_s.arg(key),
            u"voice%1"_s.arg(key),
            key % 4 == 1 ? QVariant(u""_s) : QVariant(u"text%1"_s.arg(key)),
            QVariant(),
            key % 2 == 0 ? QVariant(key * 10) : QVariant(),
            QVariant(),
            u"memo%1"_s.arg(key)};
}

JetWriter OldDeck::writer() const {
    JetWriter jet;
    jet.setTextEncoding(encoding);
    QList<QVariantList> groupRows{{1, u"どうぶつ"_s, u"animals"_s, u"どうぶつの なまえ"_s},
                                  {2, u"たべもの"_s, u"food"_s, u"たべものの なまえ"_s}};
    groupRows += extraGroups;
    if (groups == Groups::Table) {
        jet.addTable(u"tittle"_s,
                     {{u"group"_s, T::Long},
                      {u"tittle"_s, T::Text},
                      {u"ttlimage"_s, T::Text},
                      {u"setmei"_s, T::Memo}},
                     groupRows);
    } else {
        jet.addTable(u"groupdata"_s,
                     {{u"no"_s, T::Integer},
                      {u"title"_s, T::Text},
                      {u"picture"_s, T::Text},
                      {u"note"_s, T::Memo}},
                     groupRows);
        jet.addQuery(u"tittle"_s, {JetWriter::source(u"groupdata"_s, u"g"_s),
                                   JetWriter::output(u"[g].[no]"_s, u"group"_s),
                                   JetWriter::output(u"g.title"_s, u"tittle"_s),
                                   JetWriter::output(u"[picture]"_s, u"ttlimage"_s),
                                   JetWriter::output(u"[g].[note]"_s, u"setmei"_s)});
    }
    QList<QVariantList> subGroupRows{
        {1, 1, u"sub11"_s, true}, {1, 2, u"sub12"_s, false}, {2, 1, u"sub21"_s, false}};
    subGroupRows += extraSubGroups;
    jet.addTable(subGroupTable,
                 {{u"group"_s, T::Long},
                  {u"sgroup"_s, T::Long},
                  {u"images"_s, T::Text},
                  {u"select"_s, T::Boolean}},
                 subGroupRows);
    jet.addQuery(u"ordered"_s, {JetWriter::source(subGroupTable, u"s"_s),
                                JetWriter::output(u"[s].[group]"_s),
                                JetWriter::output(u"[s].[sgroup]"_s),
                                JetWriter::output(u"[s].[images]"_s),
                                {11, 0, {}, {}, u"[s].[group], [s].[sgroup]"_s}});
    jet.addQuery(u"selected"_s, {JetWriter::source(subGroupTable), JetWriter::output(u"*"_s)});
    if (!withWord)
        return jet;
    const bool columns = link == Link::Columns;
    QList<QVariantList> wordRows;
    for (int key = 1; key <= words; ++key)
        wordRows << word(key);
    wordRows += extraWords;
    jet.addTable(u"word"_s,
                 {{u"key"_s, T::Long},
                  {columns ? u"group"_s : u"gno"_s, T::Integer},
                  {columns ? u"sgroup"_s : u"sno"_s, T::Long},
                  {u"level"_s, T::Integer},
                  {u"times"_s, T::Long},
                  {u"word"_s, T::Text},
                  {u"meaning"_s, T::Text},
                  {u"images"_s, T::Text},
                  {u"voice"_s, T::Text},
                  {u"text1"_s, T::Text},
                  {u"text2"_s, T::Text},
                  {u"filler1"_s, T::Long},
                  {u"filler2"_s, T::Text},
                  {u"filler3"_s, T::Memo}},
                 wordRows);
    QList<JetWriter::QueryPart> selectWord{JetWriter::source(u"word"_s),
                                           JetWriter::source(subGroupTable, u"s"_s),
                                           JetWriter::output(u"word.*"_s)};
    if (columns)
        selectWord << JetWriter::join(
            u"word"_s, u"s"_s,
            u"[word].[group] = [s].[group] AND [word].[sgroup] = [s].[sgroup]"_s);
    else
        selectWord << JetWriter::join(
            u"word"_s, u"s"_s, u"([s].[sgroup] = [word].[sno]) And ([word].[gno] = [s].[group])"_s);
    selectWord << JetWriter::where(u"[s].[select] = True"_s);
    jet.addQuery(u"select_word"_s, selectWord);
    return jet;
}
