#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

// Lays out the manual's Markdown source as an A4 PDF: a cover page, a table of contents, every
// top-level heading on a new page, page numbers, and the pictures the source names as
// ![caption](picture-name) fitted to the page width. A picture that is not in pictures is
// drawn as a grey placeholder and reported in problems.
bool writeManualPdf(const QString& markdown, const QMap<QString, QImage>& pictures,
                    const QString& pdfPath, QStringList& problems);
