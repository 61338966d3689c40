#include "data/language_names.h"

#include <array>

namespace plumgr {
namespace {

using Components = std::vector<KnownComponent>;

KnownComponent Text(std::string name, std::string caption, std::string hint = {}) {
  return {std::move(name), std::move(caption), std::move(hint)};
}

// A component whose text is set at run time (or that has none).
KnownComponent Named(std::string name) {
  return {std::move(name), {}, {}};
}

void Append(Components& to, Components more) {
  to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// A toolbar button shows its hint; its caption is the same text for the
// toolbar's overflow menu.
KnownComponent ToolButton(std::string name, const std::string& hint) {
  return {std::move(name), hint, hint};
}

KnownWindow MainForm() {
  Components c = {
      Text("FileMenu", "&File"),
      Text("NewItem", "&New"),
      Text("N1", "-"),
      Text("OpenItem", "&Open..."),
      Text("SaveItem", "&Save"),
      Text("SaveasItem", "Save &as..."),
      Text("ReportSaveAs1", "Report Save As..."),
      Text("ImportItem", "&Import..."),
      Text("ConvertItem", "Con&vert set..."),
      Text("N2", "-"),
      Text("RecyItem", "Recycling..."),
      Text("ParameterItem", "Parameter..."),
      Text("axRate1", "VAT Rate..."),
      Text("Message1", "Header..."),
      Text("fastsalebuttons1", "Fast sale buttons..."),
      Text("N3", "-"),
      Text("PrintItem", "Print..."),
      Text("FontItem", "Font..."),
      Text("HotKey1", "Hot Key"),
      Text("N4", "-"),
      Text("SelectECR1", "Select ECR"),
      Text("N5", "-"),
      Text("ExitItem", "E&xit"),
      Text("CommMenu", "&Communication"),
      Text("CommsetItem", "&Setting..."),
      Text("DetectportItem", "&Detect port..."),
      Text("N6", "-"),
      Text("TestItem", "Test"),
      Text("DownloadItem", "Download data..."),
      Text("UploadItem", "Upload data..."),
      Text("UploadRPItem", "Upload report"),
      Text("CompareItem", "&Compare with register..."),
      Text("RestoreItem", "&Restore..."),
      Text("DownloadFontItem", "Download font..."),
      Text("HelpMenu", "&Help"),
      Text("ContentItem", "&Contents"),
      Text("N7", "-"),
      Text("AboutItem", "&About..."),
      Text("ToolBar", "Main"),
      ToolButton("NewBtn", "New"),
      ToolButton("OpenBtn", "Open"),
      ToolButton("SaveBtn", "Save"),
      ToolButton("PreferencesBtn", "Preferences"),
      ToolButton("CommBtn", "Communication setting"),
      ToolButton("TestBtn", "Test"),
      ToolButton("DownLoadBtn", "Download data"),
      ToolButton("UploadBtn", "Upload data"),
      ToolButton("ReportBtn", "Upload report"),
      ToolButton("ExitBtn", "Exit"),
      Named("LogoPanel"),
      Text("PLULabel", "PLU"),
      Text("DeptLabel", "Department"),
      Text("ReportLabel", "Report"),
      Named("PLUGrid"),
      Named("DeptmentGrid"),
      Named("RptEd"),
      Named("TableSplitter"),
      Named("ReportSplitter"),
      Named("SetPanel"),
      Named("PortPanel"),
      Named("ModelPanel"),
      Named("KeyLockPanel"),
      Named("DatePanel"),
  };
  return {"MainForm", "TR-88 PLU Manager", std::move(c)};
}

KnownWindow CommDlg() {
  return {"CommDlg",
          "Communication setting",
          {Text("BaudRateRG", "&Baud rate"), Text("ParityRG", "&Parity"),
           Text("StopBitsRG", "&StopBits"), Text("PortLabel", "P&ort:"), Named("PortCB"),
           Named("DevicesLabel"), Text("CodePageLabel", "&Code page of the register's text:"),
           Named("CodePageCB"), Text("OKBtn", "OK"), Text("CancelBtn", "Cancel")}};
}

KnownWindow ImportDlg() {
  return {"ImportDlg",
          "Import",
          {Named("FileLabel"), Text("TableRG", "&Table"), Text("PluRB", "PLU"),
           Text("DeptRB", "Department"),
           Text("ColumnsLabel", "&Columns of the file and the table columns they fill:"),
           Named("ColumnsBox"), Text("PreviewLabel", "&First rows:"), Named("PreviewGrid"),
           Named("ProblemsLabel"), Text("OKBtn", "OK"), Text("CancelBtn", "Cancel")}};
}

KnownWindow ProgressForm() {
  // The caption and the value labels always show the running exchange.
  return {"ProgressForm",
          "",
          {Text("Label3D1", "Status:"), Named("StatusLabel"), Text("Label3D2", "Current package:"),
           Named("CurLabel"), Text("Label3D3", "Total Packages:"), Named("TotalLabel"),
           Named("ProgressBar1"), Text("OKBtn", "&OK"), Text("CancelBtn", "Cancel")}};
}

KnownWindow AboutBox() {
  // Product, version, build and company are facts, not texts to translate.
  return {"AboutBox",
          "About...",
          {Named("ProductName"), Named("Version"), Named("BuildLabel"), Named("Copyright"),
           Text("OKButton", "OK")}};
}

KnownWindow TransferDlg(std::string name, std::string caption, Components more = {}) {
  Components c = {Named("CheckListBox1"),     Text("PLURangeGroupBox", "PLU range"),
                  Text("Label1", "&From:"),   Text("Label2", "&To:"),
                  Text("Label3", "PLU No."),  Named("RangeBeginEdit"),
                  Named("RangeEndEdit"),      Text("OKBtn", "OK"),
                  Text("CancelBtn", "Cancel")};
  Append(c, std::move(more));
  return {std::move(name), std::move(caption), std::move(c)};
}

KnownWindow CompareDlg() {
  return {"CompareDlg",
          "Compare with register",
          {Named("SummaryLabel"), Named("DiffGrid"), Text("DownloadBtn", "&Download"),
           Text("CloseBtn", "&Close")}};
}

KnownWindow ConvertDlg() {
  return {"ConvertDlg",
          "Convert set",
          {Text("FromLabel", "Code page of the set:"), Named("FromPageLabel"),
           Text("ToLabel", "&Convert it to:"), Named("ToPageCB"), Text("OKBtn", "OK"),
           Text("CancelBtn", "Cancel")}};
}

KnownWindow RestoreDlg() {
  return {"RestoreDlg",
          "Restore",
          {Text("FolderLabel", "Backup:"), Named("FolderText"), Text("MadeLabel", "Made:"),
           Named("MadeText"), Text("KindsLabel", "Sends back:"), Named("KindsText"),
           Text("WarningLabel", "The register's data of these kinds is replaced by the backup's."),
           Text("SendBtn", "&Send"), Text("CancelBtn", "Cancel")}};
}

KnownWindow DetectPortDlg() {
  Components c;
  for (int i = 1; i <= 4; ++i) {
    const std::string n = std::to_string(i);
    c.push_back(Text("Label3D" + n, "COM" + n + " :"));
    c.push_back(Named("Edit" + n));
  }
  Append(c, {Text("DetectBtn", "&Detect"), Text("CloseBtn", "&Close")});
  return {"DetectPortDlg", "Detect port", std::move(c)};
}

KnownWindow DataDlg() {
  // The caller sets the caption on every use; the design caption is "Data range".
  return {"DataDlg",
          "Data range",
          {Text("Label1", "&Base addr(hex):"), Named("Edit1"), Text("Label2", "Package &count::"),
           Named("Edit2"), Named("RadioGroup1"), Text("OKBtn", "OK"), Text("CancelBtn", "Cancel")}};
}

KnownWindow InputPasswordDlg() {
  return {"InputPasswordDlg",
          "Password",
          {Text("Label1", "Enter password:"), Named("PasswordEd"), Text("OKBtn", "OK"),
           Text("CancelBtn", "Cancel")}};
}

// The flag check boxes of the parameter dialog, in the order shown.
constexpr std::array<std::string_view, 21> kFlagCaptions = {
    "Not print subtotal",
    "Corla",
    "Print while item value is zero in report",
    "ForceTender",
    "Don't erase counters of report KASOWY automatically",
    "Don't erase counters of report KASJEROW automatically",
    "Don't erase counters of report SPRZEDAZY automatically",
    "Not warning when AC lost.",
    "Z report must be done after data changing",
    "Price without cents (depends from currency)",
    "Item check and confirm, during sale",
    "Power on show date",
    "whether to print when PLU downloading",
    "need password to enter XZSet Mode or not",
    "any stock function?",
    "any clerk automatically log in function?",
    "open price 1:disable 0:enable",
    "economical receipt or standar receipt?",
    "EURO/PLN info printouts 0:no print 1:print",
    "0:computer keyboard type  1: Telephone keyboard type",
    // The register's own caption has full-width colons, which the code page
    // cannot hold; plain colons read the same.
    "time setting of soft witch off  ( 0:300   1:1800)",
};

KnownWindow ParaDlg() {
  Components c = {
      Named("GroupBox1"),         Text("Label1", "-% rate:"),  Named("DecRateME"),
      Text("Label2", "+% rate:"), Named("IncRateME"),          Text("Label3", "Print speed:"),
      Named("PrnSpeedSE"),        Text("Label4", "Lcd dark:"), Named("LcdDarkSE"),
  };
  for (size_t i = 0; i < kFlagCaptions.size(); ++i) {
    const std::string name =
        "Flag" + std::to_string(i / 8) + std::to_string(i % 8);  // Flag00 .. Flag24
    c.push_back(Text(name, std::string(kFlagCaptions[i])));
  }
  Append(c, {Text("Label6", "Corla Scale Baud Rate"), Named("BaudComboBox"), Named("GroupBox2")});
  for (int n = 1; n <= 8; ++n) {
    const std::string k = std::to_string(n);
    Append(c, {Text("ClerkLBL" + k, "Clerk" + k), Text("ClerkNameLBL" + k, "Name:"),
               Named("ClerkNameEd" + k), Text("ClerkPWDLBL" + k, "Password:"),
               Named("ClerkPWDEd" + k)});
  }
  c.push_back(Text("GroupBox3", "&Barcode type"));
  for (int n = 1; n <= 10; ++n) {
    const std::string k = std::to_string(n);
    Append(c, {Text("BCodeLBL" + k, std::to_string(19 + n) + ":"), Named("BCodeSE" + k)});
  }
  Append(c, {Text("GroupBox4", "&Tail message"), Text("TailLBL1", "1:"), Named("TailEd1"),
             Text("TailLBL2", "2:"), Named("TailEd2"), Named("ScrollBox1"), Text("BitBtn1", "OK"),
             Text("BitBtn2", "Cancel")});
  return {"ParaDlg", "Parameter", std::move(c)};
}

KnownWindow RecyForm() {
  return {"RecyForm",
          "Recycling",
          {Named("RecyGrid"), Text("OKBtn", "OK"), Text("CancelBtn", "Cancel")}};
}

KnownWindow SelectFrm() {
  return {
      "uSelectFrm", "Select ECR", {Named("chklst1"), Text("btn1", "OK"), Text("btn2", "Close")}};
}

KnownWindow HotPluFrm() {
  return {
      "HotPluFrm",
      "Select PLU",
      {Named("pgc1"), Text("ts1", "PLU Key"), Text("ts2", "Department Key"), Named("sgPLUSource"),
       Named("StringGrid1"), Named("pnl1"), Text("btn1", "Ok"), Text("btn2", "Cancel")}};
}

// One level sub-menu of the hot-key editor's popup menu.
Components LevelMenu(std::string item, std::string caption, std::string font, std::string back,
                     const std::string& n, std::string separator) {
  return {Text(std::move(item), std::move(caption)),
          Text(std::move(font), "Font Color"),
          Text(std::move(back), "Backdrop Color"),
          Text("GenerateHotKeyTable" + n, "Generate Hot Key Table"),
          Text(std::move(separator), "-"),
          Text("ClearHotKeyTable" + n, "Clear Hot Key Table")};
}

KnownWindow HotkeyFrm() {
  Components c = {Named("MyGrid1"),
                  Named("pnl1"),
                  Text("btn1", "Open"),
                  Text("btn2", "Save"),
                  Text("btn3", "Save As"),
                  Text("btn4", "Preview"),
                  Text("btn5", "DownLoad"),
                  Text("UploadBtn", "UpLoad"),
                  Named("dlgFont1"),
                  Named("dlgColor1"),
                  Named("dlgOpen1"),
                  Named("dlgSave1"),
                  Named("pm1")};
  Append(c, LevelMenu("N1stlevel1", "1st level", "FontColor1", "BackColor1", "1", "N2"));
  Append(c, LevelMenu("N2ndlevel1", "2nd level", "FontColor2", "BackColor2", "2", "N3"));
  Append(c, LevelMenu("All1", "All", "FontColor3", "BackdropColor1", "3", "N4"));
  Append(c, {Text("N1", "-"), Text("Cancel2ndlevel1", "Cancel 2nd level"),
             Text("Use2ndlevel1", "Use 2nd level")});
  return {"HotkeyFrm", "Edit PLU Key", std::move(c)};
}

// The hot-key editor's font dialog: Qt's font chooser with the key's colour.
KnownWindow KeyFontDlg() {
  return {"dlgFont1",
          "Font",
          {Named("FontChooser"), Text("ColourLabel", "&Colour:"), Named("FontColorBox"),
           Text("OKBtn", "OK"), Text("CancelBtn", "Cancel")}};
}

KnownWindow PreviewFrm() {
  return {"PreviewFrm",
          "Preview",
          {Named("myPaintBox1"), Named("pnl1"), Text("btn1", "Print"), Text("btn2", "Cancel"),
           Named("dlgPnt1")}};
}

KnownWindow VatrateFrm() {
  Components c = {Text("GroupBox1", "&VAT Rate")};
  for (int n = 1; n <= 9; ++n) {
    const std::string k = std::to_string(n);
    Append(c, {Text("Label" + k, std::string(1, static_cast<char>('A' + n - 1)) + ":"),
               Named("VATME" + k), Text("PercentLBL" + k, "%")});
  }
  Append(c, {Text("TaxFreeLBL", "Tax-free:"), Named("TaxFreeCB"), Text("OKBtn", "OK"),
             Text("CancelBtn", "Cancel")});
  return {"VatrateFrm", "VAT Rate", std::move(c)};
}

KnownWindow HeaderFrm() {
  Components c = {Text("GroupBox1", "&Header message")};
  for (int n = 1; n <= 5; ++n) {
    const std::string k = std::to_string(n);
    Append(c, {Text("Label" + k, k + ":"), Named("HeaderEd" + k), Text("chk" + k, "Bold")});
  }
  Append(c, {Text("OKBtn", "OK"), Text("CancelBtn", "Cancel")});
  return {"HeaderFrm", "Header", std::move(c)};
}

KnownWindow FastSaleButtonsfrm() {
  // The title check box takes fast-sale title 2 ("Sign") whenever it is drawn.
  return {"FastSaleButtonsfrm",
          "Fast Sale Buttons",
          {Named("pnl1"), Text("btn1", "OK"), Text("btn2", "Close"), Named("StringGrid1"),
           Named("SignTitleChk")}};
}

std::vector<KnownWindow> BuildKnownWindows() {
  return {MainForm(),
          CommDlg(),
          ProgressForm(),
          AboutBox(),
          TransferDlg("UploadDlg", "Upload data"),
          TransferDlg("DownloadDlg", "Download data",
                      {Text("BackupChk", "&Back up the register's data first"),
                       Text("CompareBtn", "&Compare...")}),
          TransferDlg("CompareRangeDlg", "Compare with register"),
          CompareDlg(),
          DetectPortDlg(),
          DataDlg(),
          InputPasswordDlg(),
          ParaDlg(),
          RecyForm(),
          SelectFrm(),
          HotPluFrm(),
          HotkeyFrm(),
          KeyFontDlg(),
          PreviewFrm(),
          VatrateFrm(),
          HeaderFrm(),
          FastSaleButtonsfrm(),
          ImportDlg(),
          ConvertDlg(),
          RestoreDlg()};
}

}  // namespace

const std::vector<KnownWindow>& KnownWindows() {
  static const std::vector<KnownWindow> windows = BuildKnownWindows();
  return windows;
}

const KnownWindow* FindKnownWindow(std::string_view window) {
  for (const KnownWindow& known : KnownWindows())
    if (known.Name == window) return &known;
  return nullptr;
}

const KnownComponent* FindKnownComponent(std::string_view window, std::string_view component) {
  const KnownWindow* known = FindKnownWindow(window);
  if (known == nullptr) return nullptr;
  for (const KnownComponent& c : known->Components)
    if (c.Name == component) return &c;
  return nullptr;
}

}  // namespace plumgr
