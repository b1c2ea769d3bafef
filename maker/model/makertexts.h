#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <dataerror.h>
#include <deckproblem.h>
#include <pmcm000.h>
#include <voicereason.h>

// The deck maker's own texts. The maker is for adults: kanji are used where a parent reads
// them more easily than kana.
namespace MakerTexts {

inline const QString Title = QStringLiteral("たんごデータを つくる");
inline const QString NoDeck = QStringLiteral(
    "「ファイル」→「新しい単語データ」で 単語データを 作るか、「開く」で 選んでください。");
inline const QString NewGroup = QStringLiteral("新しいグループ");
inline const QString EmptySlot = QStringLiteral("（あき）");

inline const QString CannotOpen = QStringLiteral("「%1」を 開けませんでした。");
inline const QString CannotRead = QStringLiteral("単語データを 読みなおせませんでした。");
inline const QString NotWritten = QStringLiteral("単語データに 書きこめませんでした。");
inline const QString Locked =
    QStringLiteral("ほかの プログラムが この単語データを 使っています。少し待ってから、もう一度 "
                   "ためしてください。");
inline const QString DeckGone = QStringLiteral(
    "単語データ「%1」が なくなりました（フォルダごと 消されたか、移されたようです）。\n"
    "いま 表示している 内容を「別の名前で保存」で 保存しますか？"
    "（なくなった 絵や 音声は 入りません）");
inline const QString DeckGoneStatus = QStringLiteral(
    "単語データが なくなりました。変更は できません。「別の名前で保存」で 保存できます。");
inline const QString ReadOnlyStatus =
    QStringLiteral("この単語データは 読むだけです（書きこみが できません）。"
                   "変えるには「別の名前で保存」で 書きこめる場所に 保存してください。");
// What went wrong with the file, by the data layer's reason.
inline QString reasonText(DataError::Reason reason) {
    switch (reason) {
    case DataError::Reason::FileMissing:
        return QStringLiteral("ファイルが 見つかりません。");
    case DataError::Reason::NotWordData:
        return QStringLiteral("単語データの ファイルでは ありません。");
    case DataError::Reason::WrongVersion:
        return QStringLiteral("この版の プログラムでは 読めない 単語データです。");
    case DataError::Reason::MissingSource:
    case DataError::Reason::Damaged:
        return QStringLiteral("単語データが こわれています。");
    default:
        return QStringLiteral("単語データを 読み書きできませんでした。");
    }
}
inline const QString ReadOnly =
    QStringLiteral("この単語データは 書きこみが できない場所に あります。"
                   "「別の名前で保存」で 書きこめる場所に 保存してください。");

inline const QString RemoveGroup = QStringLiteral(
    "グループ「%1」を 削除しますか？\n小グループ %2個と 単語 %3個も いっしょに 削除されます。");
inline const QString RemoveSubGroup =
    QStringLiteral("小グループ %1-%2 を 削除しますか？\n単語 %3個も いっしょに 削除されます。");
inline const QString RemoveWord = QStringLiteral("単語「%1」を 削除しますか？");
inline const QString Unnamed = QStringLiteral("（英語も 意味も ない 単語）");
inline const QString RemoveWords = QStringLiteral("選んだ単語 %1個を 削除しますか？");

inline const QString NoProblems = QStringLiteral("チェック：問題は ありません");
inline const QString Problems =
    QStringLiteral("チェック：%1件（クリックすると その行を 表示します。このままでも 使えます）");
inline const QString Faults =
    QStringLiteral("チェック：%1件。うち ✖ の %2件が あると、プログラムは この単語データを "
                   "使えません（クリックすると その行を 表示します）");
inline const QString LeaveWithFaults =
    QStringLiteral("この単語データには、プログラムが「単語データが違います。」と 出す ところが "
                   "%1件 あります（チェックの ✖ の 行）。このまま すすみますか？");

inline const QString Exists = QStringLiteral("「%1」は もう あります。別の名前に してください。");
inline const QString Replace = QStringLiteral("「%1」は もう あります。置きかえますか？");
inline const QString FolderTaken = QStringLiteral(
    "フォルダ「%1」には ほかの 単語データや 絵・声が あります。別の名前に してください。");

inline const QString UnplainMediaName =
    QStringLiteral("絵や 音声の ファイル名「%1」が 使えません（フォルダの 外を 指しています）。");

inline const QString DeckFilter = PMCM000::DeckFileFilter;
inline const QString PictureFilter =
    QStringLiteral("画像|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.webp|すべてのファイル|*");
inline const QString VoiceFilter = QStringLiteral("WAV ファイル|*.wav|すべてのファイル|*");

// The checks' list: what is wrong with a row, in words a parent reads.
inline QString groupName(qint64 group) {
    return QStringLiteral("グループ %1").arg(group);
}
inline QString subGroupName(qint64 group, qint64 sgroup) {
    return QStringLiteral("小グループ %1-%2").arg(group).arg(sgroup);
}
inline QString wordName(const QString& word, qint64 group, qint64 sgroup) {
    return word.trimmed().isEmpty() ? QStringLiteral("単語（%1-%2）").arg(group).arg(sgroup)
                                    : QStringLiteral("「%1」").arg(word.trimmed());
}
// A column in a parent's words.
inline QString fieldName(const QString& field) {
    static const QHash<QString, QString> names{
        {QStringLiteral("tittle"), QStringLiteral("名前")},
        {QStringLiteral("setmei"), QStringLiteral("説明")},
        {QStringLiteral("word"), QStringLiteral("英語")},
        {QStringLiteral("ttlimage"), QStringLiteral("絵")},
        {QStringLiteral("images"), QStringLiteral("絵")},
        {QStringLiteral("voice"), QStringLiteral("音声")},
        {QStringLiteral("group"), QStringLiteral("グループ番号")},
        {QStringLiteral("sgroup"), QStringLiteral("小グループ番号")},
        {QStringLiteral("key"), QStringLiteral("番号")},
        {QStringLiteral("level"), QStringLiteral("レベル")},
        {QStringLiteral("times"), QStringLiteral("回数")},
    };
    return names.value(field, field);
}
// A problem the deck rules found in the row called name.
inline QString problemText(const DeckProblem& problem, const QString& name) {
    const QString what = name + QStringLiteral("の ") + fieldName(problem.field);
    using Kind = DeckProblem::Kind;
    switch (problem.kind) {
    case Kind::Empty:
        return what + QStringLiteral("が ありません");
    case Kind::NotPlainName:
        return what + QStringLiteral("の ファイル名「%1」が 使えません").arg(problem.media);
    case Kind::MediaMissing:
        return what + QStringLiteral("の ファイルが 見つかりません（%1）").arg(problem.media);
    case Kind::MediaEmpty:
        return what + QStringLiteral("の ファイルが 空です（%1）").arg(problem.media);
    case Kind::OutOfRange:
        return what + QStringLiteral("が 使える 範囲の 外です");
    case Kind::Twice:
        return what + QStringLiteral("が ほかの 行と 同じです");
    case Kind::NoParent:
        return what + QStringLiteral("の グループが ありません");
    case Kind::Other:
        break;
    }
    return what + QStringLiteral("に 問題が あります");
}
inline const QString PictureUnreadable =
    QStringLiteral("%1の 絵の ファイルが 絵として 読めません（%2）");
inline const QString WordTooLong = QStringLiteral("の 英語が 長すぎて、カードに 入りきりません");
inline const QString MeaningTooLong = QStringLiteral("の 意味が 長すぎて、カードに 入りきりません");
inline const QString WordTwice = QStringLiteral("%1は 小グループ %2-%3 にも あります");
inline const QString GroupRefused = QStringLiteral("このグループから 先を 出しません");
inline const QString SubGroupRefused = QStringLiteral("この小グループから 先を 出しません");
// A fault: what the program does when it meets it.
inline QString refusedText(const QString& text, const QString& refusal) {
    return QStringLiteral("✖ ") + text +
           QStringLiteral(" … プログラムは「単語データが違います。」と 出して、") + refusal;
}

// The window's lists and menus.
inline const QString GroupsList = QStringLiteral("グループ");
inline const QStringList GroupsColumns{QStringLiteral("番号・名前"), QStringLiteral("単語")};
inline const QString SubGroupsList = QStringLiteral("小グループ");
inline const QStringList SubGroupsColumns{QStringLiteral("番号"), QStringLiteral("単語")};
inline const QString WordsList = QStringLiteral("単語");
inline const QStringList WordsColumns{QStringLiteral("英語"), QStringLiteral("意味"),
                                      QStringLiteral("レベル"), QStringLiteral("回数")};
inline const QString ChecksName = QStringLiteral("チェック");
inline const QString AddAGroup = QStringLiteral("「追加」で グループを 作ってください。");
inline const QString FileMenu = QStringLiteral("ファイル(&F)");
inline const QString NewDeckItem = QStringLiteral("新しい単語データ…");
inline const QString OpenItem = QStringLiteral("開く…");
inline const QString SaveAsItem = QStringLiteral("別の名前で保存…");
inline const QString ImportCsvItem = QStringLiteral("CSV フォルダから作る…");
inline const QString ExportCsvItem = QStringLiteral("CSV フォルダに書き出す…");
inline const QString QuitItem = QStringLiteral("終わる");
inline const QString RecentItem = QStringLiteral("&%1 %2");
inline const QString RecentGone = QStringLiteral("「%1」は もう ありません。");
inline const QString AddManyItem = QStringLiteral("たんごを まとめて 追加…");
inline const QString AddManyTitle = QStringLiteral("たんごを まとめて 追加");
inline const QString AddManyPrompt =
    QStringLiteral("英語の 単語を 1行に 1つずつ 入れるか 貼り付けてください。意味も 入れるときは "
                   "「dog, いぬ」のように コンマの あとに 書きます。\n"
                   "絵・意味・音声は 見つかったものを 入れます。");
inline const QString AddManyTarget = QStringLiteral("入れる 小グループ：%1-%2");
inline const QString AddManyButton = QStringLiteral("追加する");
inline const QString ChooseSubGroupFirst =
    QStringLiteral("先に 単語を 入れる 小グループを 選んでください。");
inline const QString AddingMany = QStringLiteral("単語を 追加しています（%1）…");
inline const QString Cancel = QStringLiteral("やめる");
inline const QString AddedMany = QStringLiteral("%1語を 追加しました。");
inline const QString AddedUnfinished =
    QStringLiteral("\n\nつぎの 単語は 見つからなかったものが あります。あとで 入れてください：\n");
inline const QString NoPictureFound = QStringLiteral("絵");
inline const QString NoMeaningFound = QStringLiteral("意味");
inline const QString NoVoiceMade = QStringLiteral("音声");
inline const QString UnfinishedLine = QStringLiteral("%1（%2）");
// The progress window (きろく): for parents, ordinary Japanese with kanji.
inline const QString ProgressItem = QStringLiteral("きろく（学習の記録）…");
inline const QString ProgressTitle = QStringLiteral("きろく ― %1");
inline const QString ProgressNoHistory = QStringLiteral(
    "まだ記録がありません。pimlotan で練習すると、答えるたびに ここに記録されます。");
inline const QString ProgressSummaryTab = QStringLiteral("まとめ");
inline const QString ProgressLevelsTab = QStringLiteral("いまのレベル");
inline const QString ProgressActivityTab = QStringLiteral("練習した量");
inline const QString ProgressWordTab = QStringLiteral("単語ごとの記録");
inline const QString Last30Days = QStringLiteral("この30日");
inline const QString ThisWeek = QStringLiteral("今週");
inline const QString ThisMonth = QStringLiteral("今月");
inline const QString PeriodLabel = QStringLiteral("期間：");
inline const QString PeriodDates = QStringLiteral("%1 〜 %2");
inline const QString PeriodSummary = QStringLiteral(
    "答えた回数：%1 回（%2 語）\nレベルが上がった回数：%3 回\n覚えた（○になった）単語：%4 語");
inline const QString HardestTitle = QStringLiteral("まちがいの多い単語（NG の回数）");
inline const QString HardestLine = QStringLiteral("%1　%2　NG %3 回");
inline const QString HardestNone = QStringLiteral("この期間に NG はありません。");
inline const QString AllGroups = QStringLiteral("すべてのグループ");
inline const QString LevelsChart = QStringLiteral("いまのレベル別の単語数");
inline const QString LevelNames[6] = {QStringLiteral("まだ見ていない"),
                                      QStringLiteral("○（覚えた）"),
                                      QStringLiteral("△○"),
                                      QStringLiteral("△△○"),
                                      QStringLiteral("△△△○"),
                                      QStringLiteral("△△△△（苦手）")};
inline const QString PerDayChart = QStringLiteral("1日ごとの答えた回数（30日）");
inline const QString PeriodPerDayChart = QStringLiteral("1日ごとの答えた回数");
inline const QString PerWeekChart = QStringLiteral("覚えた（○になった）単語の数（週ごと）");
inline const QString WordChart = QStringLiteral("「%1」のレベルの移り変わり");
inline const QString WordChoice = QStringLiteral("単語：");
inline const QString WordNoHistory = QStringLiteral("この単語の記録はまだありません。");
inline const QString WordSummary =
    QStringLiteral("答えた回数：%1 回（%2 日）　最後に答えた日：%3　いまのレベル：%4");
inline const QString SavePdf = QStringLiteral("PDF に保存…");
inline const QString PrintReport = QStringLiteral("印刷…");
inline const QString PdfFilter = QStringLiteral("PDF|*.pdf");
inline const QString ReportTitle = QStringLiteral("学習の記録：%1");
inline const QString ReportSaved = QStringLiteral("保存しました。\n%1");
inline const QString ReportNotSaved = QStringLiteral("保存できませんでした。\n%1");
inline const QString ReportNotPrinted = QStringLiteral("印刷できませんでした。");
inline const QString ProgressNotRead = QStringLiteral("記録を読めませんでした。");
inline const QString EditMenu = QStringLiteral("編集(&E)");
inline const QString UndoItem = QStringLiteral("元に戻す");
inline const QString RedoItem = QStringLiteral("やり直す");
inline const QString SettingsMenu = QStringLiteral("設定(&S)");
inline const QString SpeakNewWordsItem = QStringLiteral("英語を 入れたら 読み上げで 音声を 作る");
inline const QString HelpMenu = QStringLiteral("ヘルプ(&H)");
// The maker's chapter of the manual, beside the program (made with the manual).
inline const QString ManualFile = QStringLiteral("たんごデータをつくる説明書.pdf");
inline const QString ManualItem = QStringLiteral("使い方（説明書）");
inline const QString VersionItem = QStringLiteral("バージョン情報");
inline const QString VersionText =
    QStringLiteral("たんごデータを つくる（pimlotan-maker）\nバージョン %1");

// The ファイル menu's dialogs and what they end with.
inline const QString NewDeckName = QStringLiteral("新しい単語データの 名前");
inline const QString CannotCreate = QStringLiteral("新しい単語データを 作れませんでした。");
inline const QString OpenDeck = QStringLiteral("単語データを 開く");
inline const QString SaveAs = QStringLiteral("別の名前で保存");
inline const QString NotSaved = QStringLiteral("保存できませんでした。\n");
inline const QString CsvFolder = QStringLiteral("groups.csv などの ある フォルダ");
inline const QString CsvHasProblems =
    QStringLiteral("CSV に 直すところが あるので、作りませんでした。\n\n");
inline const QString MoreProblems = QStringLiteral("…ほか %1件");
inline const QString BuiltDeckName = QStringLiteral("作る単語データの 名前");
inline const QString NotBuilt = QStringLiteral("作れませんでした。\n");
inline const QString ExportFolder = QStringLiteral("書き出す フォルダ");
inline const QString Exported = QStringLiteral("書き出しました。\n%1");
inline const QString NotExported = QStringLiteral("書き出せませんでした。\n");
inline const QString MissingNotCopied =
    QStringLiteral("\n\nこの 絵や 音声は ないので、書き出していません：\n");

// Pictures and voices.
inline const QString WordFirst = QStringLiteral("先に 英語を 入れてください。");

inline const QString NoPictureToPaste = QStringLiteral("クリップボードに 絵が ありません。");
inline const QString ChoosePicture = QStringLiteral("絵を 選ぶ");
inline const QString ChooseVoice = QStringLiteral("音声を 選ぶ");
inline const QString Speaking = QStringLiteral("「%1」を 読み上げています…");
inline const QString Recording =
    QStringLiteral("録音しています。話し終わったら「止める」を 押してください。");
inline const QString VoiceStored = QStringLiteral("音声を 入れました（%1 秒）。");
inline const QString VoiceNotSaved = QStringLiteral("音声を 保存できませんでした。");
// Why a recording, a spoken word or a chosen file gave no voice.
inline QString voiceProblem(VoiceReason reason) {
    switch (reason) {
    case VoiceReason::NoVoiceHeard:
        return QStringLiteral("声が 聞こえませんでした。マイクの 音量を 確かめて、もう一度 "
                              "録音してください。");
    case VoiceReason::NoMicrophone:
        return QStringLiteral("マイクが 見つかりません。マイクを つないでから もう一度 "
                              "ためしてください。");
    case VoiceReason::NoSpeechEngine:
        return QStringLiteral("読み上げの ソフト（flite）が 入っていません。");
    case VoiceReason::SpeechFailed:
        return QStringLiteral("読み上げで 音声を 作れませんでした。");
    case VoiceReason::NotUsable:
    case VoiceReason::None:
        break;
    }
    return QStringLiteral("この 音声は 使えません（WAV ファイルを 選んでください）。");
}

// The window's forms, panels and list buttons.
inline const QString GroupTitleField = QStringLiteral("グループの名前");
inline const QString GroupDescriptionField = QStringLiteral("グループの説明");
inline const QString TitleLabel = QStringLiteral("名前");
inline const QString DescriptionLabel = QStringLiteral("説明");
inline const QString GroupHeading = QStringLiteral("グループ %1（メインメニューの %1 番目）");
inline const QString SubGroupHeading = QStringLiteral("小グループ %1-%2（単語 %3個）");
inline const QString WordLabel = QStringLiteral("英語");
inline const QString MeaningLabel = QStringLiteral("意味");
inline const QString PhraseLabel = QStringLiteral("絵をクリックしたときの文");
inline const QString CodeField = QStringLiteral("番号の欄に出すコード");
inline const QString ResetWord = QStringLiteral("もとに もどす");
inline const QString ResetTip =
    QStringLiteral("選んだ単語を まだ見てない（レベル 0、0回）に もどします");
inline const QString CodeLabel = QStringLiteral("番号の欄のコード");
inline const QString GradingLabel = QStringLiteral("おぼえぐあい");
inline const QString Grading = QStringLiteral("レベル %1（%2）、%3回");
inline const QString WordsChosen = QStringLiteral("　― %1語を 選んでいます");
inline const QString ResetWords = QStringLiteral("%1語を もとに もどす");
inline const QString PictureInPractice = QStringLiteral("絵（れんしゅうでの 見え方）");
inline const QString PictureInMenu = QStringLiteral("絵（メインメニューでの 見え方）");
inline const QString FromFile = QStringLiteral("ファイルから選ぶ…");
inline const QString Paste = QStringLiteral("貼り付け");
inline const QString PictureFromFile = QStringLiteral("絵を ファイルから選ぶ");
inline const QString PastePicture = QStringLiteral("絵を 貼り付け");
inline const QString PictureSearch = QStringLiteral("ほかの ことばで 絵を さがす");
inline const QString PictureChoiceTip = QStringLiteral("クリックすると この絵に します");
inline const QString MeaningChoiceTip = QStringLiteral("クリックすると 意味に 入れます");
inline const QString DropHint = QStringLiteral("画像を ここに ドロップしても 入れられます。");
inline const QString VoiceBox = QStringLiteral("音声");
inline const QString Record = QStringLiteral("録音");
inline const QString Speak = QStringLiteral("読み上げで作る");
inline const QString Play = QStringLiteral("再生");
inline const QString RecordingLevel = QStringLiteral("録音の 音の大きさ");
inline const QString VoiceFromFile = QStringLiteral("音声を ファイルから選ぶ");
inline const QString Stop = QStringLiteral("止める");
inline const QString Add = QStringLiteral("追加");
inline const QString Remove = QStringLiteral("削除");
inline const QString Up = QStringLiteral("上へ");
inline const QString Down = QStringLiteral("下へ");
inline const QString UpName = QStringLiteral("%1を 上へ");
inline const QString DownName = QStringLiteral("%1を 下へ");
inline const QString AddName = QStringLiteral("%1を 追加");
inline const QString RemoveName = QStringLiteral("%1を 削除");

// Storing a picture.
inline const QString PictureUnreadableFile =
    QStringLiteral("この ファイルは 画像として 読めません。");
inline const QString PictureTooLarge = QStringLiteral("この 画像は 大きすぎて 読めません。");
inline const QString PictureFileMissing = QStringLiteral("ファイルが 見つかりません。");
inline const QString NoPictureInData = QStringLiteral("画像が 入っていません。");
inline const QString PictureBadName = QStringLiteral("この 名前では 画像を 保存できません。");
inline const QString PictureNotSaved = QStringLiteral("画像を 保存できませんでした。");

} // namespace MakerTexts
