#pragma once
// Qt's own dialogs (file, font, colour and print dialogs, the buttons of the
// message boxes) take their texts from Qt's translations, not from the
// language file: they follow the desktop's language, as the system dialogs
// of the register's original program followed the system's.

class QLocale;

namespace plumgr::ui {

// Installs Qt's translation for the locale when the system has it (Debian's
// qt6-translations-l10n); without it the dialogs stay in English.
void InstallQtTranslations(const QLocale& locale);

}  // namespace plumgr::ui
