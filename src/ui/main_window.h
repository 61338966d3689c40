#pragma once
// The main window "MainForm": menus, toolbar, the PLU and department tables, the
// report panel and the status bar over the core's MainWindowState. Every
// command goes through one runner, so that no command starts inside another.

#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/file_opener.h"
#include "app/main_window_state.h"
#include "app/memory_range_model.h"
#include "app/register_menu.h"
#include "app/report_panel.h"
#include "app/transfer_commands.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "output/ole_excel.h"
#include "ui/command_runner.h"
#include "ui/hidden_keys.h"
#include "ui/qt_ui_port.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolBar;

namespace plumgr::ui {

class FastSaleWindow;
class GridView;
class HotkeyEditorWindow;
class HeaderDialog;
class ParameterDialog;
class ProgressWindow;
class RecyclingDialog;
class VatRateDialog;
class StatusPanels;

class MainWindow final : public QMainWindow {
  Q_OBJECT
 public:
  // Runs the start-up of the state with the options. `opener` shows the files
  // the commands write (the repeat report, memory listings); by default the
  // desktop's application for them.
  // `language_file` is the interface language file; by default plumgr.LNG
  // where LanguageFilePath finds it.
  explicit MainWindow(const StartUpOptions& options, FileOpener* opener = nullptr,
                      const std::string& language_file = {});
  ~MainWindow() override;

  MainWindowState& State() { return state_; }
  QtUiPort& Ui() { return ui_; }
  TKovoIBusComm& Bus() { return *bus_; }
  ProgressModel& Progress() { return progress_; }
  TransferCommands& Transfers() { return *transfers_; }
  RegisterMenu& Registers() { return *register_menu_; }
  ReportPanel& Report() { return report_; }
  GridView& PluView() { return *plu_view_; }
  GridView& DeptView() { return *dept_view_; }
  ProgressWindow& ProgressDialog() { return *progress_window_; }
  MemoryRangeModel& MemoryRange() { return range_model_; }

  // Runs a command unless another one is running (false then); afterwards the
  // views, the caption and the status bar show the state again.
  bool RunCommand(const std::function<void()>& command);
  bool Busy() const { return runner_.Busy(); }

  // The table font of both tables and the report panel; then AutoSizeGrid.
  void SetTableFont(const QFont& font);
  // The parameter dialog behind Ctrl+Alt+F4 (by default the window's own).
  void SetParameterEditor(ParameterEditor editor) { parameter_editor_ = std::move(editor); }
  // The views show the state again (after work done outside a command).
  void ShowState();
  // The hot-key designer, reached by "Hot Key" where the model shows it and by
  // plumgr --hot-key for service work.
  void OpenHotKeyEditor();
  HotkeyEditorWindow& HotKeyEditor() { return *hot_key_editor_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void BuildMenus();
  void BuildToolBar();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                   void (MainWindow::*handler)(), const QKeySequence& shortcut = {});
  void AddSeparator(QMenu* menu);
  void AddButton(QToolBar* bar, const char* name, const QString& hint, int icon,
                 void (MainWindow::*handler)());
  void ShowReport();
  // The interface language file on every window, the title tables and the
  // progress texts; a file that cannot be read keeps the built-in texts.
  void ApplyLanguageFile();
  void OnHiddenKey(HiddenKey key);

  // The commands.
  void NewItemClick();
  void OpenItemClick();
  void SaveItemClick();
  void SaveasItemClick();
  void ReportSaveAs1Click();
  void ImportItemClick();
  void ConvertItemClick();
  void PrintItemClick();
  void FontItemClick();
  void SelectECR1Click();
  void ExitItemClick();
  void CommsetItemClick();
  void DetectportItemClick();
  void TestItemClick();
  void DownloadItemClick();
  void UploadItemClick();
  void UploadRPItemClick();
  void CompareItemClick();
  void RestoreItemClick();
  void DownloadFontItemClick();
  void AboutItemClick();
  void HotKey1Click();
  void ParameterItemClick();
  void axRate1Click();
  void Message1Click();
  void RecyItemClick();
  void fastsalebuttons1Click();
  // EditParameters: the parameter dialog; true when OK stored it.
  bool EditParameters();
  void FillTestDataKey();
  void ParameterDownloadKey();
  void MemoryDumpKey();

  QtUiPort ui_;
  MainWindowState state_{ui_};
  std::unique_ptr<TKovoIBusComm> bus_;
  ProgressModel progress_;
  std::unique_ptr<TransferCommands> transfers_;
  std::unique_ptr<RegisterMenu> register_menu_;
  ReportPanel report_;
  MemoryRangeModel range_model_;
  TOLEExcel excel_;
  std::unique_ptr<FileOpener> own_opener_;
  FileOpener* opener_;
  std::string language_path_;
  ParameterEditor parameter_editor_;
  CommandRunner runner_;
  bool close_pending_ = false;
  bool shown_ = false;

  GridView* plu_view_ = nullptr;
  GridView* dept_view_ = nullptr;
  QPlainTextEdit* report_edit_ = nullptr;
  ProgressWindow* progress_window_ = nullptr;
  StatusPanels* status_ = nullptr;
  HiddenKeyFilter* hidden_keys_ = nullptr;
  HotkeyEditorWindow* hot_key_editor_ = nullptr;
  // The editors, each built on first use and kept for the run.
  ParameterDialog* parameter_dialog_ = nullptr;
  VatRateDialog* vat_rate_dialog_ = nullptr;
  HeaderDialog* header_dialog_ = nullptr;
  RecyclingDialog* recycling_dialog_ = nullptr;
  FastSaleWindow* fast_sale_window_ = nullptr;
  QAction* recycling_item_ = nullptr;
  QAction* hot_key_item_ = nullptr;
  int separators_ = 0;
};

}  // namespace plumgr::ui
