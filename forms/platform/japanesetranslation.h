#pragma once

class QCoreApplication;

// Loads Qt's own Japanese texts (message-box buttons, the file and colour dialogs) whatever
// the system's locale: every screen of the program is Japanese, so a "Yes"/"No" or an
// English file dialog would be the only foreign words a child or parent meets. False when
// the translations are not installed (the dialogs then stay in English).
bool loadJapaneseTranslation(QCoreApplication& app);
