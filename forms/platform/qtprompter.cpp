#include "qtprompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>

Prompter::Answer QtPrompter::message(const QString& text, const QString& title, Icon icon,
                                     Buttons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    static const QHash<Icon, QMessageBox::Icon> icons{{Icon::None, QMessageBox::NoIcon},
                                                      {Icon::Information, QMessageBox::Information},
                                                      {Icon::Warning, QMessageBox::Warning},
                                                      {Icon::Critical, QMessageBox::Critical},
                                                      {Icon::Question, QMessageBox::Question}};
    box.setIcon(icons.value(icon));
    if (buttons != Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == Buttons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString QtPrompter::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << parts[i] + QStringLiteral(" (") + patterns + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtPrompter::openFile(const QString& filter, const QString& startFolder,
                             const QString& title) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, startFolder,
                                        qtFilter(filter));
}

QString QtPrompter::openPicture(const QString& filter, const QString& startFolder,
                                const QString& title) {
    // Qt's own dialog, which has room for a preview beside the files.
    QFileDialog dialog(QApplication::activeWindow(), title, startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = qtFilter(filter).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(220, 160);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& file) {
            QImageReader reader(file);
            reader.setAutoTransform(true);
            const QSize size = reader.size();
            if (size.isValid())
                reader.setScaledSize(size.scaled(preview->size(), Qt::KeepAspectRatio));
            const QImage image = reader.read();
            preview->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
        });
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

QString QtPrompter::saveFile(const QString& filter, const QString& startPath,
                             const QString& title) {
    // The caller decides what an existing name means (a new deck gets a folder of its own
    // named after the file), and asks itself where it would replace one.
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, startPath,
                                        qtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtPrompter::chooseFolder(const QString& startFolder, const QString& title) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder);
}

std::optional<QColor> QtPrompter::chooseColor(const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void QtPrompter::withProgress(const QString& text, const QString& title,
                              const std::function<void(const ProgressStep&)>& work) {
    QProgressDialog dialog(text, QString(), 0, 1, QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setCancelButton(nullptr);
    dialog.setMinimumDuration(500);
    dialog.setValue(0);
    // A modal progress dialog processes events in setValue(), so it paints while work runs.
    work([&dialog](int done, int total) {
        dialog.setMaximum(std::max(total, 1));
        dialog.setValue(std::min(done, std::max(total, 1)));
    });
}
