#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace plumgr::ui {

void InstallQtTranslations(const QLocale& locale) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace plumgr::ui
