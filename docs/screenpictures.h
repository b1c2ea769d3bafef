#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

class QWidget;

// Takes the manual's pictures from the program's real forms, rendered offscreen on a copy of a
// word-data file, each framed with a title bar. The scenes and their picture names are listed
// in screenpictures.cpp; manual.md refers to the pictures by these names.
struct ScreenPictures {
    QMap<QString, QImage> pictures;
    QStringList problems; // scenes that could not be taken as planned
};

// appFolder: the built program folder (Ini/, music/, pimlotan.bmp); deck: a .pml with its
// images/ beside it; workFolder: an empty folder the forms may write into.
ScreenPictures takeScreenPictures(const QString& appFolder, const QString& deck,
                                  const QString& workFolder);

// The window as grabbed, with a plain title bar above it, so that a reader sees a window.
QImage framed(QWidget* window);
