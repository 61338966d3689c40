// The main window's menus and toolbar: every item with its caption, shortcut
// and objectName, connected to its command.

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "ui/main_window.h"

namespace plumgr::ui {

QAction* MainWindow::AddItem(QMenu* menu, const char* name, const QString& caption,
                             void (MainWindow::*handler)(), const QKeySequence& shortcut) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  if (handler) connect(action, &QAction::triggered, this, handler);
  return action;
}

void MainWindow::AddSeparator(QMenu* menu) {
  menu->addSeparator()->setObjectName(QString("N%1").arg(++separators_));
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("FileMenu");
  AddItem(file, "NewItem", "&New", &MainWindow::NewItemClick);
  AddSeparator(file);
  AddItem(file, "OpenItem", "&Open...", &MainWindow::OpenItemClick, QKeySequence(Qt::Key_F3));
  AddItem(file, "SaveItem", "&Save", &MainWindow::SaveItemClick,
          QKeySequence(Qt::CTRL | Qt::Key_S));
  AddItem(file, "SaveasItem", "Save &as...", &MainWindow::SaveasItemClick);
  AddItem(file, "ReportSaveAs1", "Report Save As...", &MainWindow::ReportSaveAs1Click);
  AddItem(file, "ImportItem", "&Import...", &MainWindow::ImportItemClick);
  AddItem(file, "ConvertItem", "Con&vert set...", &MainWindow::ConvertItemClick);
  AddSeparator(file);
  recycling_item_ = AddItem(file, "RecyItem", "Recycling...", &MainWindow::RecyItemClick);
  AddItem(file, "ParameterItem", "Parameter...", &MainWindow::ParameterItemClick);
  AddItem(file, "axRate1", "VAT Rate...", &MainWindow::axRate1Click);
  AddItem(file, "Message1", "Header...", &MainWindow::Message1Click);
  AddItem(file, "fastsalebuttons1", "Fast sale buttons...", &MainWindow::fastsalebuttons1Click);
  AddSeparator(file);
  AddItem(file, "PrintItem", "Print...", &MainWindow::PrintItemClick);
  AddItem(file, "FontItem", "Font...", &MainWindow::FontItemClick);
  hot_key_item_ = AddItem(file, "HotKey1", "Hot Key", &MainWindow::HotKey1Click);
  AddSeparator(file);
  AddItem(file, "SelectECR1", "Select ECR", &MainWindow::SelectECR1Click);
  AddSeparator(file);
  AddItem(file, "ExitItem", "E&xit", &MainWindow::ExitItemClick);

  QMenu* comm = menuBar()->addMenu("&Communication");
  comm->setObjectName("CommMenu");
  AddItem(comm, "CommsetItem", "&Setting...", &MainWindow::CommsetItemClick);
  AddItem(comm, "DetectportItem", "&Detect port...", &MainWindow::DetectportItemClick);
  AddSeparator(comm);
  AddItem(comm, "TestItem", "Test", &MainWindow::TestItemClick);
  AddItem(comm, "DownloadItem", "Download data...", &MainWindow::DownloadItemClick,
          QKeySequence(Qt::Key_F9));
  AddItem(comm, "UploadItem", "Upload data...", &MainWindow::UploadItemClick,
          QKeySequence(Qt::Key_F6));
  AddItem(comm, "UploadRPItem", "Upload report", &MainWindow::UploadRPItemClick,
          QKeySequence(Qt::Key_F7));
  AddItem(comm, "CompareItem", "&Compare with register...", &MainWindow::CompareItemClick);
  AddItem(comm, "RestoreItem", "&Restore...", &MainWindow::RestoreItemClick);
  AddItem(comm, "DownloadFontItem", "Download font...", &MainWindow::DownloadFontItemClick)
      ->setVisible(false);

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("HelpMenu");
  AddItem(help, "ContentItem", "&Contents", nullptr);
  AddSeparator(help);
  AddItem(help, "AboutItem", "&About...", &MainWindow::AboutItemClick);
}

void MainWindow::AddButton(QToolBar* bar, const char* name, const QString& hint, int icon,
                           void (MainWindow::*handler)()) {
  QAction* action = bar->addAction(
      QApplication::style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)), hint);
  action->setObjectName(name);
  action->setToolTip(hint);
  action->setStatusTip(hint);
  if (handler) connect(action, &QAction::triggered, this, handler);
  if (QWidget* button = bar->widgetForAction(action)) button->setObjectName(name);
}

void MainWindow::BuildToolBar() {
  QToolBar* bar = addToolBar("Main");
  bar->setObjectName("ToolBar");
  bar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
  AddButton(bar, "NewBtn", "New", QStyle::SP_FileIcon, &MainWindow::NewItemClick);
  AddButton(bar, "OpenBtn", "Open", QStyle::SP_DialogOpenButton, &MainWindow::OpenItemClick);
  AddButton(bar, "SaveBtn", "Save", QStyle::SP_DialogSaveButton, &MainWindow::SaveItemClick);
  bar->addSeparator();
  AddButton(bar, "PreferencesBtn", "Preferences", QStyle::SP_FileDialogDetailedView,
            &MainWindow::ParameterItemClick);
  AddButton(bar, "CommBtn", "Communication setting", QStyle::SP_ComputerIcon,
            &MainWindow::CommsetItemClick);
  bar->addSeparator();
  AddButton(bar, "TestBtn", "Test", QStyle::SP_DialogApplyButton, &MainWindow::TestItemClick);
  AddButton(bar, "DownLoadBtn", "Download data", QStyle::SP_ArrowUp,
            &MainWindow::DownloadItemClick);
  AddButton(bar, "UploadBtn", "Upload data", QStyle::SP_ArrowDown, &MainWindow::UploadItemClick);
  AddButton(bar, "ReportBtn", "Upload report", QStyle::SP_FileDialogContentsView, nullptr);
  bar->findChild<QAction*>("ReportBtn")->setVisible(false);
  bar->addSeparator();
  AddButton(bar, "ExitBtn", "Exit", QStyle::SP_DialogCloseButton, &MainWindow::ExitItemClick);

  // The logo sits at the right end of the toolbar row, whatever the width.
  auto* spacer = new QWidget(bar);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  bar->addWidget(spacer);
  auto* logo = new QLabel(ToQString(state_.ApplicationTitle()), bar);
  logo->setObjectName("LogoPanel");
  logo->setContentsMargins(0, 0, 10, 0);
  QFont font = logo->font();
  font.setBold(true);
  font.setItalic(true);
  logo->setFont(font);
  bar->addWidget(logo);
}

}  // namespace plumgr::ui
