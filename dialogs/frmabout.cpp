#include "frmabout.h"

#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "pmcm000.h"
#include "svgicon.h"

#include <QFileInfo>
#include <QVersionNumber>

using namespace PMCM000;

namespace {
// The box is not scaled: its design client area of 5730 x 3555 twips is 382 x 237 pixels.
constexpr int ClientWidth = 382;
constexpr int ClientHeight = 237;
constexpr int IconSize = 48;

QLabel* makeLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPixmap iconPicture(qreal devicePixelRatio) {
    return svgPixmap(QStringLiteral(":/dialogs/pimlotan.svg"), IconSize, devicePixelRatio);
}

const QString Unavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , ActivatableForm(this)
    , picIcon(makeLabel(this, "picIcon"))
    , lblTitle(makeLabel(this, "lblTitle"))
    , lblVersion(makeLabel(this, "lblVersion"))
    , lblDescription(makeLabel(this, "lblDescription"))
    , lblDisclaimer(makeLabel(this, "lblDisclaimer"))
    , cmdOK(new QPushButton(QStringLiteral("OK"), this))
    , cmdSysInfo(new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdOK->setDefault(true);
    for (size_t i = 0; i < Line1.size(); ++i) {
        Line1[i] = new QFrame(this);
        Line1[i]->setObjectName(QStringLiteral("Line1(%1)").arg(i));
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

QString frmAbout::versionText(const QString& version) {
    const QVersionNumber number = QVersionNumber::fromString(version);
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3")
        .arg(number.majorVersion())
        .arg(number.minorVersion())
        .arg(number.microVersion());
}

void frmAbout::Form_Load() {
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(AppTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));

    picIcon->setGeometry(14, 14, IconSize, IconSize);
    picIcon->setPixmap(iconPicture(devicePixelRatioF()));
    picIcon->setAccessibleName(AppTitle);

    lblTitle->setText(AppTitle);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setGeometry(78, 14, 290, 30);

    lblVersion->setText(versionText(QStringLiteral(PIMLOTAN_VERSION)));
    lblVersion->setGeometry(78, 46, 290, 20);

    lblDescription->setText(
        QStringLiteral("© 2026 The pimlotan developers. GNU General Public License, "
                       "version 3 or later (GPL-3+)."));
    lblDescription->setGeometry(78, 76, 290, 40);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Two lines, dark over light, make one engraved separator.
    Line1[0]->setGeometry(8, 132, ClientWidth - 16, 1);
    Line1[1]->setGeometry(8, 133, ClientWidth - 16, 1);
    Line1[0]->setAutoFillBackground(true);
    Line1[1]->setAutoFillBackground(true);
    Line1[0]->setBackgroundRole(QPalette::Mid);
    Line1[1]->setBackgroundRole(QPalette::Light);

    lblDisclaimer->setText(
        QStringLiteral("ご質問・不具合のご報告は、プロジェクトの README.md をご覧ください。"));
    lblDisclaimer->setGeometry(14, 146, 232, 76);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdOK->setGeometry(258, 146, 110, 30);
    cmdSysInfo->setGeometry(258, 188, 110, 30);
}

bool frmAbout::GetKeyValue(Registry::Root root, const QString& keyName, const QString& valueName,
                           QString& value) {
    value.clear();
    const std::optional<QVariant> read = platform().registry->value(root, keyName, valueName);
    if (!read)
        return false;
    if (read->typeId() == QMetaType::QString) {
        const QString text = read->toString();
        value = text.left(text.indexOf(QChar(u'\0'))); // up to the first NUL, if any
    } else {
        value = QString::number(read->toUInt());
    }
    return true;
}

void frmAbout::StartSysInfo() {
    QString tool;
    QString folder;
    if (!GetKeyValue(Registry::Root::LocalMachine,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), tool)) {
        if (GetKeyValue(Registry::Root::LocalMachine,
                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), folder)) {
            const QString candidate = folder + QStringLiteral("/MSINFO32.EXE");
            if (QFileInfo(candidate).isFile())
                tool = candidate;
        }
    }
    if (tool.isEmpty() || !platform().shell->startDetached(tool, {}))
        platform().prompter->message(Unavailable, AppTitle);
}
