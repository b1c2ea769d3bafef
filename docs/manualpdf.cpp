#include "manualpdf.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <cmath>

namespace {

const QString BodyFamily = QStringLiteral("Noto Sans CJK JP");
const QString CodeFamily = QStringLiteral("Noto Sans Mono CJK JP");
const QColor HeadingColour(0x1e, 0x3a, 0x6e);
// Where the table of contents goes: a paragraph of its own in the source.
const QString ContentsMarker = QStringLiteral("@CONTENTS@");
constexpr int Resolution = 300;
// Lengths in a text document are in pixels of 96 per inch, whatever device it is laid out on.
constexpr qreal CssPixelsPerMm = 96 / 25.4;

QImage placeholder(const QString& name) {
    QImage image(480, 160, QImage::Format_RGB32);
    image.fill(QColor(0xee, 0xee, 0xee));
    QPainter painter(&image);
    painter.setPen(Qt::darkGray);
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.setFont(QFont(BodyFamily, 12));
    painter.drawText(image.rect(), Qt::AlignCenter,
                     QStringLiteral("（この画面の絵は準備中です: %1）").arg(name));
    return image;
}

void setBlockFont(QTextBlock block, qreal points, bool bold, const QColor& colour) {
    QTextCursor cursor(block);
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setForeground(colour);
    cursor.mergeCharFormat(format);
    cursor.mergeBlockCharFormat(format);
}

// Headings, spacing, code and tables in the manual's own style.
void styleDocument(QTextDocument& doc) {
    bool firstHeading = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        const int level = format.headingLevel();
        if (level == 1) {
            // The first top-level heading is the cover's title; the others open a new page.
            if (!firstHeading)
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            format.setBottomMargin(10);
            setBlockFont(block, firstHeading ? 28 : 18, true, HeadingColour);
            firstHeading = false;
        } else if (level == 2) {
            format.setTopMargin(14);
            format.setBottomMargin(4);
            setBlockFont(block, 13.5, true, HeadingColour);
        } else if (level >= 3) {
            format.setTopMargin(8);
            setBlockFont(block, 11, true, Qt::black);
        } else if (format.nonBreakableLines()) { // a code block
            format.setBackground(QColor(0xf2, 0xf2, 0xf2));
            format.setLeftMargin(8);
        } else if (QTextCursor(block).currentTable()) {
            format.setLineHeight(120, QTextBlockFormat::ProportionalHeight);
        } else {
            format.setLineHeight(145, QTextBlockFormat::ProportionalHeight);
            format.setBottomMargin(4);
        }
        QTextCursor(block).setBlockFormat(format);

        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().fontFixedPitch())
                continue;
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            QTextCharFormat code;
            code.setFontFamilies({CodeFamily});
            code.setBackground(QColor(0xf2, 0xf2, 0xf2));
            cursor.mergeCharFormat(code);
        }
    }

    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(0.6);
        format.setBorderBrush(QColor(0x88, 0x88, 0x88));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(4);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setTopMargin(4);
        format.setBottomMargin(8);
        format.setHeaderRowCount(1); // repeated on every page the table runs onto
        table->setFormat(format);
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat header = cell.format();
            header.setBackground(QColor(0xe4, 0xea, 0xf4));
            cell.setFormat(header);
        }
    }
}

// Gives every picture its image and a width that fits the text column; a paragraph that holds
// only a picture is centred, and so is the caption paragraph after it.
void placePictures(QTextDocument& doc, const QMap<QString, QImage>& pictures, qreal columnWidth,
                   QStringList& problems) {
    bool previousWasPicture = false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        bool onlyPicture = !block.text().trimmed().isEmpty();
        bool hasPicture = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) {
                if (!fragment.text().trimmed().isEmpty())
                    onlyPicture = false;
                continue;
            }
            hasPicture = true;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString name = format.name();
            QImage image = pictures.value(name);
            if (image.isNull()) {
                problems << QStringLiteral("picture not available: ") + name;
                image = placeholder(name);
            }
            // As a pixmap: the layout asks for it often, and an image would be converted each time.
            doc.addResource(QTextDocument::ImageResource, QUrl(name), QPixmap::fromImage(image));
            const QSizeF natural = image.deviceIndependentSize();
            const qreal width = std::min(natural.width(), columnWidth);
            format.setWidth(width);
            format.setHeight(width * natural.height() / natural.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
        const bool caption = previousWasPicture && !hasPicture;
        if ((hasPicture && onlyPicture) || caption) {
            QTextBlockFormat format = block.blockFormat();
            format.setAlignment(Qt::AlignHCenter);
            format.setBottomMargin(caption ? 10 : 2);
            // Extra line height would leave a gap of half a picture under it.
            format.setLineHeight(100, QTextBlockFormat::SingleHeight);
            QTextCursor(block).setBlockFormat(format);
            if (caption)
                setBlockFont(block, 9, false, QColor(0x44, 0x44, 0x44));
        }
        previousWasPicture = hasPicture && onlyPicture;
    }
}

bool isPictureBlock(const QTextBlock& block) {
    const QTextBlock::iterator first = block.begin();
    return !first.atEnd() && first.fragment().charFormat().isImageFormat() &&
           block.text().trimmed().size() == 1;
}

struct Heading {
    QTextBlock block;
    int level;
};

// Replaces the marker paragraph with a two-column table of the chapters and sections that
// follow it, with their page numbers when they are known; returns the headings listed.
QList<QTextBlock> insertContents(QTextDocument& doc, const QList<int>& pages) {
    QList<Heading> headings;
    QTextBlock marker;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.text().trimmed() == ContentsMarker)
            marker = block;
        const int level = block.blockFormat().headingLevel();
        if (marker.isValid() && (level == 1 || level == 2))
            headings << Heading{block, level};
    }
    if (!marker.isValid())
        return {};
    // The contents start a page of their own, under their heading.
    if (const QTextBlock title = marker.previous(); title.isValid()) {
        QTextBlockFormat format = title.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(title).setBlockFormat(format);
    }

    QTextCursor cursor(marker);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QList<QTextBlock> listed;
    if (headings.isEmpty())
        return listed;
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(2);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 90),
                                      QTextLength(QTextLength::PercentageLength, 10)});
    QTextTable* table = cursor.insertTable(static_cast<int>(headings.size()), 2, format);
    for (int row = 0; row < headings.size(); ++row) {
        const Heading& heading = headings.at(row);
        QTextCharFormat text;
        text.setFontPointSize(heading.level == 1 ? 11.5 : 10);
        text.setFontWeight(heading.level == 1 ? QFont::Bold : QFont::Normal);
        QTextBlockFormat left;
        left.setLeftMargin(heading.level == 1 ? 0 : 18);
        left.setTopMargin(heading.level == 1 ? 6 : 0);
        QTextCursor title = table->cellAt(row, 0).firstCursorPosition();
        title.setBlockFormat(left);
        title.insertText(heading.block.text(), text);
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        right.setTopMargin(left.topMargin());
        QTextCursor page = table->cellAt(row, 1).firstCursorPosition();
        page.setBlockFormat(right);
        page.insertText(row < pages.size() ? QString::number(pages.at(row)) : QString(), text);
        listed << heading.block;
    }
    return listed;
}

int pageOf(const QTextDocument& doc, const QTextBlock& block) {
    // A block that opens a page starts at its very top, which rounding can put a hair above.
    const qreal top = doc.documentLayout()->blockBoundingRect(block).top() + 1;
    return static_cast<int>(std::floor(top / doc.pageSize().height())) + 1;
}

// Blocks that must start a page so that they stay with what follows them.
using PageBreaks = QSet<int>;

// One full layout of the manual on the writer's pages; pages are the contents' page numbers.
// A document is laid out once only: changing it after the layout leaves Qt's paging of the
// later blocks stale, and they would not be drawn.
void layOut(QTextDocument& doc, QPdfWriter& writer, const QSizeF& page, const QString& markdown,
            const QMap<QString, QImage>& pictures, const QList<int>& pages,
            const PageBreaks& breaks, QList<QTextBlock>& listed, QStringList& problems) {
    doc.setDefaultFont(QFont(BodyFamily, 10));
    doc.setDocumentMargin(0);
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    const qreal columnWidth = (page.width() / Resolution) * 25.4 * CssPixelsPerMm;
    styleDocument(doc);
    placePictures(doc, pictures, columnWidth, problems);
    listed = insertContents(doc, pages);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!breaks.contains(block.blockNumber()))
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
    // The layout is made last: once it exists, every edit above would lay out again.
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setPageSize(page);
}

// The first heading or picture that the layout left at the foot of a page, apart from the
// text or caption under it; -1 when there is none.
int firstStrandedBlock(const QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        const bool keepWithNext = block.blockFormat().headingLevel() >= 2 || isPictureBlock(block);
        if (!keepWithNext || !next.isValid() || pageOf(doc, block) == pageOf(doc, next))
            continue;
        // A heading right above the stranded block goes along with it.
        QTextBlock first = block;
        for (QTextBlock above = block.previous();
             above.isValid() && above.blockFormat().headingLevel() >= 2 &&
             pageOf(doc, above) == pageOf(doc, block);
             above = above.previous())
            first = above;
        return first.blockNumber();
    }
    return -1;
}

} // namespace

bool writeManualPdf(const QString& markdown, const QMap<QString, QImage>& pictures,
                    const QString& pdfPath, QStringList& problems) {
    QPdfWriter writer(pdfPath);
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 16, 18, 14), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("pimlotan説明書"));
    writer.setCreator(QStringLiteral("pimlotan make-manual"));

    // The bottom 8 mm of the printable area carry the page number.
    const qreal footer = 8 * Resolution / 25.4;
    const QSizeF page(writer.width(), writer.height() - footer);

    // Draft layouts move stranded headings and pictures to the next page, one at a time from
    // the front since each move shifts everything after it, and then find the chapters' pages;
    // the final layout is drawn with both.
    QList<QTextBlock> listed;
    QList<int> pages;
    PageBreaks breaks;
    for (int round = 0; round < 40; ++round) {
        QTextDocument draft;
        QStringList ignored; // the final layout reports the same problems
        layOut(draft, writer, page, markdown, pictures, {}, breaks, listed, ignored);
        pages.clear();
        for (const QTextBlock& block : listed)
            pages << pageOf(draft, block);
        const int stranded = firstStrandedBlock(draft);
        if (stranded < 0 || breaks.contains(stranded))
            break;
        breaks.insert(stranded);
    }
    QTextDocument doc;
    layOut(doc, writer, page, markdown, pictures, pages, breaks, listed, problems);

    QPainter painter;
    if (!painter.begin(&writer)) {
        problems << QStringLiteral("cannot write ") + pdfPath;
        return false;
    }
    QFont footerFont(BodyFamily, 9);
    for (int index = 0; index < doc.pageCount(); ++index) {
        if (index > 0)
            writer.newPage();
        const QRectF area(QPointF(0, index * page.height()), page);
        painter.save();
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        if (index > 0) {
            painter.setFont(footerFont);
            painter.setPen(Qt::darkGray);
            painter.drawText(QRectF(0, page.height(), page.width(), footer), Qt::AlignCenter,
                             QStringLiteral("— %1 —").arg(index + 1));
        }
    }
    return painter.end();
}
