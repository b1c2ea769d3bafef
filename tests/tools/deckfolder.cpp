#include "deckfolder.h"

#include <QDir>
#include <QFile>

namespace DeckFolder {

Files base() {
    return Files{
        {
            QStringLiteral("group,tittle,ttlimage,setmei"),
            QStringLiteral("1,どうぶつ,g1,どうぶつの なまえ"),
            QStringLiteral("2,\"Food, drinks\",g2,\"two"), // the row goes on over two lines
            QStringLiteral("lines\""),
        },
        {
            QStringLiteral("group,sgroup,images"),
            QStringLiteral("1,1,s11"),
            QStringLiteral("1,2,s12"),
            QStringLiteral("2,1,s21"),
        },
        {
            QStringLiteral("key,group,sgroup,level,times,word,meaning,images,voice,text1,text2,"
                           "filler1,filler2,filler3"),
            QStringLiteral("1,1,1,0,0,cat,ねこ,cat,cat,\"a \"\"big\"\" cat\",1-01-01,-7,x,y"),
            QStringLiteral("2,1,2,3,12,dog,,dog,dog,,,,,"),
            QStringLiteral("30,2,1,5,2147483647,apple,りんご,apple,apple,,,,,"),
        },
    };
}

void write(const QString& folder, const Files& files) {
    QDir dir(folder);
    dir.mkpath(QStringLiteral("images"));
    dir.mkpath(QStringLiteral("voice"));
    const auto save = [&dir](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    };
    save(QStringLiteral("groups.csv"), files.groups.join(u'\n').toUtf8() + '\n');
    save(QStringLiteral("subgroups.csv"), files.subGroups.join(u'\n').toUtf8() + '\n');
    save(QStringLiteral("words.csv"), files.words.join(u'\n').toUtf8() + '\n');
    for (const char* picture : {"g1", "g2", "s11", "s12", "s21", "cat", "dog", "apple"})
        save(QStringLiteral("images/%1.jpg").arg(QLatin1StringView(picture)), "JPEG");
    for (const char* voice : {"cat", "dog", "apple"})
        save(QStringLiteral("voice/%1.wav").arg(QLatin1StringView(voice)), "RIFF");
}

QString relative(const QString& report, const QString& folder) {
    QString text = report;
    return text.replace(QDir(folder).path() + u'/', QString());
}

Deck withoutLines(Deck deck) {
    for (auto& g : deck.groups)
        g.line = 0;
    for (auto& s : deck.subGroups)
        s.line = 0;
    for (auto& w : deck.words)
        w.line = 0;
    return deck;
}

} // namespace DeckFolder
