#pragma once

#include "meaningdictionary.h"
#include "pictureindex.h"

#include <QString>
#include <QStringList>
#include <memory>

// What the deck maker and pml-build suggest for a word: pictures (emoji of the colour emoji
// font, or pictures the deck already has) and Japanese meanings. Both libraries are read once
// from the installed packages; without them there are simply no suggestions.
class Suggestions {
  public:
    struct Picture {
        QString emoji;       // the emoji's characters, or
        QString deckPicture; // the name of a picture in the deck's images/
        bool operator==(const Picture&) const = default;
    };

    Suggestions() = default;
    Suggestions(PictureIndex pictures, MeaningDictionary meanings);
    // The installed libraries, read on the first call (a few hundred milliseconds: the
    // dictionary is large); safe to call from any thread.
    static std::shared_ptr<const Suggestions> loadInstalled();

    // Up to limit pictures for word: the deck's own pictures named like it first (imagesFolder
    // is the deck's images/ folder; empty for none), then emoji, best first.
    QList<Picture> pictures(const QString& word, const QString& imagesFolder = {},
                            int limit = 8) const;
    // Up to limit Japanese meanings of the English word, in kana, best first.
    QStringList meanings(const QString& word, int limit = 5) const;

    const PictureIndex& pictureIndex() const { return pictures_; }
    const MeaningDictionary& dictionary() const { return meanings_; }

  private:
    PictureIndex pictures_;
    MeaningDictionary meanings_;
};

// The pictures in imagesFolder whose name is word, or word and more that does not go on with a
// letter (ignoring case: "Dog_big", not "dogwood"), without their ".jpg", shortest first.
QStringList deckPicturesNamed(const QString& imagesFolder, const QString& word);
