#include "bulkadddialog.h"

#include "makertexts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

BulkAddDialog::BulkAddDialog(qint64 group, qint64 sgroup, QWidget* parent)
    : QDialog(parent)
    , text_(new QPlainTextEdit(this)) {
    setWindowTitle(MakerTexts::AddManyTitle);
    auto* prompt = new QLabel(MakerTexts::AddManyPrompt, this);
    prompt->setWordWrap(true);
    text_->setAccessibleName(MakerTexts::AddManyTitle);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(MakerTexts::AddManyButton);
    buttons->button(QDialogButtonBox::Cancel)->setText(MakerTexts::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(new QLabel(MakerTexts::AddManyTarget.arg(group).arg(sgroup), this));
    layout->addWidget(text_, 1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(420, 360);
}

QString BulkAddDialog::text() const {
    return text_->toPlainText();
}
