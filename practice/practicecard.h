#pragma once

#include <QString>
#include <QtGlobal>

// One word of a practice batch, as read from select_word, with what the user did to it.
struct PracticeCard {
    enum Mark : qint32 { NoMark = 0, OkMark = 1, NgMark = 2 };

    qint32 key = 0;
    qint32 times = 0; // as read with the batch
    QString word;
    QString meaning;
    QString images;
    QString voice;
    QString text1;
    QString text2;
    qint32 mark = NoMark;
    // The grading and the clearing belong to the word, not to a screen position, so that a
    // re-layout in another order grades no word twice and leaves every card as it was.
    bool graded = false;
    bool cleared = false;
    // The word is no longer in the file (the deck maker removed or changed it meanwhile): the
    // card can still be cleared, but nothing is written for it.
    bool gone = false;
};
