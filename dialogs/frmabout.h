#pragma once

#include "activatableform.h"
#include "platform/registry.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>

// The version box: the program's title and version, its licence and where to ask questions,
// and a button that starts the system's system-information tool. Unlike the preference dialogs
// it neither stays on top nor sets DialogOpen: it is an ordinary form, so the screen behind it
// is activated afresh when the user returns to it.
class frmAbout : public QWidget, public ActivatableForm {
    Q_OBJECT
  public:
    explicit frmAbout(QWidget* parent = nullptr);

    // "ﾊﾞｰｼﾞｮﾝ 1.0.2" from a version text such as "1.0.2".
    static QString versionText(const QString& version);
    // Reads one registry value as text (a number in decimal); false when it is not there.
    static bool GetKeyValue(Registry::Root root, const QString& keyName, const QString& valueName,
                            QString& value);
    // Finds the system-information tool and starts it, or says that it is not available.
    static void StartSysInfo();

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    std::array<QFrame*, 2> Line1{};
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    void Form_Activate() override {}

  public slots:
    void cmdOK_Click() { close(); }
    void cmdSysInfo_Click() { StartSysInfo(); }

  private:
    void Form_Load();
};
