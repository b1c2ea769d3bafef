#include "olddeck.h"

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
            QStringLiteral("word%1").arg(key),
            key % 4 == 0 ? QVariant() : QVariant(QStringLiteral("ことば%1").arg(key)),
            QStringLiteral("pic%1").arg(key),
            QStringLiteral("voice%1").arg(key),
            key % 4 == 1 ? QVariant(QStringLiteral(""))
                         : QVariant(QStringLiteral("text%1").arg(key)),
            QVariant(),
            key % 2 == 0 ? QVariant(key * 10) : QVariant(),
            QVariant(),
            QStringLiteral("memo%1").arg(key)};
}

JetWriter OldDeck::writer() const {
    JetWriter jet;
    jet.setTextEncoding(encoding);
    QList<QVariantList> groupRows{{1, QStringLiteral("どうぶつ"), QStringLiteral("animals"),
                                   QStringLiteral("どうぶつの なまえ")},
                                  {2, QStringLiteral("たべもの"), QStringLiteral("food"),
                                   QStringLiteral("たべものの なまえ")}};
    groupRows += extraGroups;
    if (groups == Groups::Table) {
        jet.addTable(QStringLiteral("tittle"),
                     {{QStringLiteral("group"), T::Long},
                      {QStringLiteral("tittle"), T::Text},
                      {QStringLiteral("ttlimage"), T::Text},
                      {QStringLiteral("setmei"), T::Memo}},
                     groupRows);
    } else {
        jet.addTable(QStringLiteral("groupdata"),
                     {{QStringLiteral("no"), T::Integer},
                      {QStringLiteral("title"), T::Text},
                      {QStringLiteral("picture"), T::Text},
                      {QStringLiteral("note"), T::Memo}},
                     groupRows);
        jet.addQuery(QStringLiteral("tittle"),
                     {JetWriter::source(QStringLiteral("groupdata"), QStringLiteral("g")),
                      JetWriter::output(QStringLiteral("[g].[no]"), QStringLiteral("group")),
                      JetWriter::output(QStringLiteral("g.title"), QStringLiteral("tittle")),
                      JetWriter::output(QStringLiteral("[picture]"), QStringLiteral("ttlimage")),
                      JetWriter::output(QStringLiteral("[g].[note]"), QStringLiteral("setmei"))});
    }
    QList<QVariantList> subGroupRows{{1, 1, QStringLiteral("sub11"), true},
                                     {1, 2, QStringLiteral("sub12"), false},
                                     {2, 1, QStringLiteral("sub21"), false}};
    subGroupRows += extraSubGroups;
    jet.addTable(subGroupTable,
                 {{QStringLiteral("group"), T::Long},
                  {QStringLiteral("sgroup"), T::Long},
                  {QStringLiteral("images"), T::Text},
                  {QStringLiteral("select"), T::Boolean}},
                 subGroupRows);
    jet.addQuery(QStringLiteral("ordered"),
                 {JetWriter::source(subGroupTable, QStringLiteral("s")),
                  JetWriter::output(QStringLiteral("[s].[group]")),
                  JetWriter::output(QStringLiteral("[s].[sgroup]")),
                  JetWriter::output(QStringLiteral("[s].[images]")),
                  {11, 0, {}, {}, QStringLiteral("[s].[group], [s].[sgroup]")}});
    jet.addQuery(QStringLiteral("selected"),
                 {JetWriter::source(subGroupTable), JetWriter::output(QStringLiteral("*"))});
    if (!withWord)
        return jet;
    const bool columns = link == Link::Columns;
    QList<QVariantList> wordRows;
    for (int key = 1; key <= words; ++key)
        wordRows << word(key);
    wordRows += extraWords;
    jet.addTable(QStringLiteral("word"),
                 {{QStringLiteral("key"), T::Long},
                  {columns ? QStringLiteral("group") : QStringLiteral("gno"), T::Integer},
                  {columns ? QStringLiteral("sgroup") : QStringLiteral("sno"), T::Long},
                  {QStringLiteral("level"), T::Integer},
                  {QStringLiteral("times"), T::Long},
                  {QStringLiteral("word"), T::Text},
                  {QStringLiteral("meaning"), T::Text},
                  {QStringLiteral("images"), T::Text},
                  {QStringLiteral("voice"), T::Text},
                  {QStringLiteral("text1"), T::Text},
                  {QStringLiteral("text2"), T::Text},
                  {QStringLiteral("filler1"), T::Long},
                  {QStringLiteral("filler2"), T::Text},
                  {QStringLiteral("filler3"), T::Memo}},
                 wordRows);
    QList<JetWriter::QueryPart> selectWord{JetWriter::source(QStringLiteral("word")),
                                           JetWriter::source(subGroupTable, QStringLiteral("s")),
                                           JetWriter::output(QStringLiteral("word.*"))};
    if (columns)
        selectWord << JetWriter::join(
            QStringLiteral("word"), QStringLiteral("s"),
            QStringLiteral("[word].[group] = [s].[group] AND [word].[sgroup] = [s].[sgroup]"));
    else
        selectWord << JetWriter::join(
            QStringLiteral("word"), QStringLiteral("s"),
            QStringLiteral("([s].[sgroup] = [word].[sno]) And ([word].[gno] = [s].[group])"));
    selectWord << JetWriter::where(QStringLiteral("[s].[select] = True"));
    jet.addQuery(QStringLiteral("select_word"), selectWord);
    return jet;
}
