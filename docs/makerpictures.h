#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

// Takes the deck maker's pictures from its real window on deck, a copy that the scenes may
// change (the window writes every change at once), with its images/ and voice/ beside it.
// shownPath is the deck's path as the status bar should read it on a user's machine.
void takeMakerPictures(const QString& deck, const QString& shownPath,
                       QMap<QString, QImage>& pictures, QStringList& problems);
