#pragma once

#include "deckchecks.h"
#include "makersession.h"
#include "makersettings.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <pictureimport.h>
#include <suggestions.h>

class GroupForm;
class ProgressWindow;
class QAction;
class QLabel;
class QMenu;
class QListWidget;
class QStackedWidget;
class RowList;
class SubGroupForm;
class WordForm;
class QMimeData;
class VoiceWork;
struct Voice;

// The deck maker's window: the deck's groups, the chosen group's sub-groups and the chosen
// sub-group's words side by side, the fields of the row chosen last, and the checks below.
// Every change is written to the file at once; the window then shows what the file holds.
// What is open and chosen, and what each button does to the deck, is the session's
// (MakerSession, without widgets); the window shows it and forwards the parent's clicks.
class MakerWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MakerWindow(QWidget* parent = nullptr);
    ~MakerWindow() override;

    // Opens the deck at path (a message says why not); true when it is open.
    bool openDeck(const QString& path);
    // Opens the deck opened last, when there is one; true when it is open.
    bool openLastDeck();
    const MakerSettings& settings() const { return settings_; }
    // A new word's voice spoken at once (remembered).
    void setSpeakNewWords(bool on);
    DeckEditor* editor() const { return session_.editor(); }
    const MakerSession& session() const { return session_; }

    // ファイル menu (makerwindow_menus.cpp).
    void newDeck();
    void chooseDeck();
    void saveDeckAs();
    void importCsv();
    void exportCsv();
    // きろく: the progress window of the open deck (one at a time).
    void showProgress();
    ProgressWindow* progressWindow() const { return progress_.get(); }

    // 編集 menu: the last change taken back, or given again.
    void undo();
    void redo();
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

    RowList* groups() const { return groups_; }
    RowList* subGroups() const { return subGroups_; }
    RowList* words() const { return words_; }
    GroupForm* groupForm() const { return groupForm_; }
    SubGroupForm* subGroupForm() const { return subGroupForm_; }
    WordForm* wordForm() const { return wordForm_; }
    QListWidget* checks() const { return checks_; }
    QStackedWidget* forms() const { return forms_; }

    // The picture of the chosen row from a file, a drop or the clipboard
    // (makerwindow_media.cpp).
    void storePictureFile(const QString& file);
    void storePictureData(const QMimeData& data);
    // The voice of the chosen word from a WAV file, the synthesiser or the microphone.
    void storeVoiceFile(const QString& file);
    void speakWord();
    void toggleRecording();
    void playVoice();
    // Speech and recording run in the background; tests wait for them.
    bool voiceBusy() const;

    // The library the suggestions come from (makerwindow_suggest.cpp); read in the background
    // when the window opens, so that the window does not wait for it.
    void setSuggestions(std::shared_ptr<const Suggestions> suggestions);
    bool suggestionsLoaded() const { return suggestions_ != nullptr; }
    // たんごを まとめて 追加 (makerwindow_bulk.cpp): asks for the words, adds them, says
    // which could not be filled.
    void chooseManyWords();
    struct ManyWords {
        int added = 0;
        QStringList unfinished; // "dog（絵・音声）": what was not found for a word
    };
    // Adds a word of the chosen sub-group for each line of text, with the first picture and
    // meaning suggested and a spoken voice; a cancel keeps the words added so far.
    ManyWords addManyWords(const QString& text);

    // Stores a suggested picture as the shown row's picture.
    void chooseSuggestedPicture(const Suggestions::Picture& picture);

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    using Kind = MakerSession::Kind;

    // makerwindow_layout.cpp
    static constexpr int FormWidth = 400;
    void createControls();
    // The window's first size: as large as it likes, but never beyond the screen.
    void fitScreen();
    // makerwindow_menus.cpp
    void createMenus();
    // The ファイル menu's last decks.
    void refreshRecentDecks();
    void saveSettings();
    // makerwindow.cpp
    void connectLists();
    // Runs work, which changes the deck; a failure is shown, and the window shows what the file
    // holds either way. False when work failed.
    bool changing(const std::function<void()>& work);
    // True when the deck's file is gone (its folder deleted or moved): says so once, offering
    // to save what the window still holds under another name.
    bool deckGone();
    void showError(const QString& what, const std::exception& error);
    // Asks once before a deck with faults is left (closed, saved as, another opened).
    bool leavingWithFaultsAccepted();
    RowList* listOf(Kind kind) const;
    void jumpTo(const DeckCheck& check);
    void addRow(Kind kind);
    void removeRows(Kind kind);
    void moveRow(Kind kind, int step);
    // Rows of the list named from dropped on row onto of kind's list.
    void dropRows(Kind kind, const QString& from, qint64 onto);

    // makerwindow_render.cpp
    void refresh();
    void refreshLists();
    void refreshForm();
    void refreshChecks();
    // The checks that make the program refuse the deck.
    int faultCount() const;

    // makerwindow_media.cpp
    void connectMedia();
    // Stores the chosen row's picture through store (a file, a drop), then names it in the row.
    void storePicture(const std::function<PictureImport::Result(const QString& folder,
                                                                const QString& name)>& store);
    void setVoice(qint64 key, const Voice& take);
    // A word with English and no voice gets a spoken one at once, unless the parent turned
    // that off or a voice is being made.
    void speakIfVoiceless();

    // makerwindow_suggest.cpp
    void connectSuggestions();
    void loadSuggestions();
    // The suggestions for what the shown form holds now (also while it is typed).
    void refreshSuggestions();
    // The picture name of the row whose form is shown (empty: none).
    QString shownPicture() const;
    // An emoji as a stored picture of kind's row in group's colour.
    QImage drawnSuggestion(const QString& emoji, Kind kind, qint64 group) const;
    // makerwindow_bulk.cpp: the first picture suggested for word, named in the word's row;
    // false when there is none.
    bool addSuggestedPicture(qint64 key, const QString& word);
    qint64 group(qint64 key) const { return editor()->word(key)->group; }

    MakerSession session_;
    MakerSettings settings_;
    QString settingsPath_; // empty: nothing is remembered
    QMenu* fileMenu_ = nullptr;
    QAction* recentEnd_ = nullptr; // the separator after the last decks
    QList<QAction*> recentActions_;
    QAction* speakNewWords_ = nullptr;
    QAction* undo_ = nullptr;
    std::unique_ptr<ProgressWindow> progress_;
    QAction* redo_ = nullptr;
    std::shared_ptr<const Suggestions> suggestions_;
    std::unique_ptr<VoiceWork> voiceWork_;
    RowList* groups_;
    RowList* subGroups_;
    RowList* words_;
    QStackedWidget* forms_;
    GroupForm* groupForm_;
    SubGroupForm* subGroupForm_;
    WordForm* wordForm_;
    QWidget* noDeck_;
    QListWidget* checks_;
    QLabel* checksTitle_;
    QList<DeckCheck> shownChecks_;
    QList<qint64> shownRow_; // the kind and numbers of the row whose form is shown
    bool refreshing_ = false;
    bool changing_ = false;
    bool goneReported_ = false; // the open deck's file vanished and the parent was told
};
