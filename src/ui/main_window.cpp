#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/file_commands.h"
#include "app/link_commands.h"
#include "data/definitions.h"
#include "data/language_location.h"
#include "ui/compare_window.h"
#include "ui/desktop_file_opener.h"
#include "ui/display_text.h"
#include "ui/grid_sizing.h"
#include "ui/grid_view.h"
#include "ui/hotkey_editor_window.h"
#include "ui/progress_window.h"
#include "ui/status_panels.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

constexpr int kInitialWidth = 626;
constexpr int kInitialHeight = 388;
constexpr int kDeptPanelWidth = 194;
constexpr int kReportPanelHeight = 77;
constexpr int kSplitterWidth = 2;

// A table or the report panel under its caption label.
QWidget* CaptionPanel(const char* name, const QString& caption, QWidget* content) {
  auto* panel = new QWidget;
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* label = new QLabel(caption);
  label->setObjectName(name);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Raised);
  label->setAlignment(Qt::AlignCenter);
  label->setBuddy(content);
  layout->addWidget(label);
  layout->addWidget(content, 1);
  return panel;
}

// The register's report text for display: its line ends as one kind.
QString ReportText(const std::string& bytes) {
  QString shown = DisplayText(bytes);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  return shown;
}

}  // namespace

MainWindow::MainWindow(const StartUpOptions& options, FileOpener* opener,
                       const std::string& language_file)
    : ui_(this),
      bus_(MakeMainBus()),
      opener_(opener),
      language_path_(language_file.empty() ? LanguageFilePath() : language_file) {
  setObjectName("MainForm");
  // The windows of this run start from their built-in texts.
  ForgetLanguage();
  if (opener_ == nullptr) {
    own_opener_ = std::make_unique<DesktopFileOpener>();
    opener_ = own_opener_.get();
  }
  state_.StartUp(options);
  ui_.SetTitle(state_.ApplicationTitle());
  bus_->SetUiPort(&ui_);
  progress_.SetBus(bus_.get());
  transfers_ = std::make_unique<TransferCommands>(state_, *bus_, progress_);
  transfers_->SetFileOpener([this](const std::string& path) { opener_->OpenFile(path); });
  register_menu_ = std::make_unique<RegisterMenu>(state_, *bus_, progress_, *transfers_);
  transfers_->SetBeforeDownload([this](TransferDialogModel& model) {
    return register_menu_->BeforeDownload(
        model, [this](const CompareWindowModel& shown) { return ShowCompareWindow(this, shown); });
  });
  parameter_editor_ = [this] { return EditParameters(); };
  report_.SetChanged([this] { ShowReport(); });

  resize(kInitialWidth, kInitialHeight);
  BuildLayout();
  BuildMenus();
  BuildToolBar();
  status_ = new StatusPanels(statusBar());
  progress_window_ = new ProgressWindow(progress_, this);
  hidden_keys_ = new HiddenKeyFilter(this, [this](HiddenKey key) { OnHiddenKey(key); });
  hidden_keys_->SetLocksChanged(
      [this] { status_->ShowLocks(hidden_keys_->CapsLock(), hidden_keys_->NumLock()); });
  qApp->installEventFilter(hidden_keys_);
  hot_key_editor_ = new HotkeyEditorWindow(
      state_, [this](const std::function<void()>& command) { return RunCommand(command); }, this);
  ShowState();
  RegisterLanguageWindow(this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(hidden_keys_);
  progress_.SetView(nullptr);
  // The tables' views read the state's edit models until they are gone, and
  // a window that closes as it is destroyed still asks them for their titles;
  // they go first, while the state is alive.
  delete takeCentralWidget();
}

void MainWindow::BuildLayout() {
  plu_view_ = new GridView(state_.PluEdit(), state_, this);
  plu_view_->setObjectName("PLUGrid");
  dept_view_ = new GridView(state_.DeptEdit(), state_, this);
  dept_view_->setObjectName("DeptmentGrid");
  report_edit_ = new QPlainTextEdit(this);
  report_edit_->setObjectName("RptEd");
  report_edit_->setReadOnly(true);
  report_edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  report_edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  report_edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* tables = new QSplitter(Qt::Horizontal);
  tables->setObjectName("TableSplitter");
  tables->setHandleWidth(kSplitterWidth);
  tables->addWidget(CaptionPanel("PLULabel", "PLU", plu_view_));
  tables->addWidget(CaptionPanel("DeptLabel", "Department", dept_view_));
  tables->setStretchFactor(0, 1);
  tables->setStretchFactor(1, 0);
  tables->setSizes({kInitialWidth - kDeptPanelWidth, kDeptPanelWidth});

  auto* work = new QSplitter(Qt::Vertical);
  work->setObjectName("ReportSplitter");
  work->setHandleWidth(kSplitterWidth);
  work->addWidget(tables);
  work->addWidget(CaptionPanel("ReportLabel", "Report", report_edit_));
  work->setStretchFactor(0, 1);
  work->setStretchFactor(1, 0);
  work->setSizes({kInitialHeight - kReportPanelHeight, kReportPanelHeight});
  setCentralWidget(work);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  ApplyLanguageFile();
  // Some systems have no Verdana; they substitute their nearest sans-serif.
  QFont font("Verdana", 10);
  font.setStyleHint(QFont::SansSerif);
  SetTableFont(font);
  plu_view_->setFocus();
}

void MainWindow::ApplyLanguageFile() {
  LanguageReadResult read = LanguageFile::Read(language_path_);
  ApplyLanguageToWindows(read.File);
  // The caption from the file stays until New, Open or Save As set it again.
  state_.SetCaption(FromQString(windowTitle()));
  ShowState();
  if (!read.Ok) {
    const std::string message = language_path_ + ": " + read.Message;
    QTimer::singleShot(0, this, [this, message] { ui_.ShowError(message); });
  }
}

void MainWindow::SetTableFont(const QFont& font) {
  for (QWidget* widget : {static_cast<QWidget*>(plu_view_), static_cast<QWidget*>(dept_view_),
                          static_cast<QWidget*>(report_edit_)}) {
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    widget->setPalette(palette);
  }
  AutoSizeGrid(*plu_view_);
  AutoSizeGrid(*dept_view_);
}

bool MainWindow::RunCommand(const std::function<void()>& command) {
  const bool ran = runner_.Run(command);
  if (!ran) return false;
  ShowState();
  // A close asked for while the command ran happens now that it has ended.
  if (close_pending_) {
    close_pending_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
  return true;
}

void MainWindow::ShowState() {
  plu_view_->Refresh();
  dept_view_->Refresh();
  setWindowTitle(ToQString(state_.Caption()));
  ui_.SetTitle(state_.ApplicationTitle());
  if (recycling_item_) recycling_item_->setVisible(state_.RecyclingItemVisible());
  if (hot_key_item_) hot_key_item_->setVisible(state_.HotKeyItemVisible());
  const int baud =
      state_.BaudIndex() >= 0 && state_.BaudIndex() < static_cast<int>(BaudRateTable.size())
          ? BaudRateTable[static_cast<std::size_t>(state_.BaudIndex())]
          : 0;
  status_->Show({state_.CurrentFileName(), PortName(state_), baud, CurrentProfile().Title,
                 state_.Modified()});
}

void MainWindow::ShowReport() {
  report_edit_->setPlainText(ReportText(report_.Text()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (runner_.Busy()) {
    // Closing during an exchange cancels it as the progress window's Cancel
    // does; the command then disconnects and closes the port, and the window
    // closes after it.
    close_pending_ = true;
    progress_.PressCancel();
    event->ignore();
    return;
  }
  if (!hot_key_editor_->ConfirmClose() || !ConfirmSave(state_)) {
    event->ignore();
    ShowState();
    return;
  }
  event->accept();
}

void MainWindow::OnHiddenKey(HiddenKey key) {
  switch (key) {
    case HiddenKey::TestData:
      FillTestDataKey();
      break;
    case HiddenKey::ParameterDownload:
      ParameterDownloadKey();
      break;
    case HiddenKey::MemoryDump:
      MemoryDumpKey();
      break;
  }
}

}  // namespace plumgr::ui
