#include "ui/key_font_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "hotkey/key_drawing.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

struct NamedColor {
  const char* Name;
  TColor Color;
};

// The colours a font may take in the dialog, as the register's design tools
// offered them: the sixteen basic colours.
constexpr NamedColor kFontColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

QIcon Swatch(TColor color, const QPalette& palette) {
  QPixmap pixmap(16, 12);
  pixmap.fill(ResolveColor(color, palette));
  return QIcon(pixmap);
}

}  // namespace

KeyFontDialog::KeyFontDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("dlgFont1");
  setWindowTitle("Font");
  chooser_ = new QFontDialog(this);
  chooser_->setObjectName("FontChooser");
  chooser_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  chooser_->setWindowFlags(Qt::Widget);
  chooser_->setSizeGripEnabled(false);
  colors_ = new QComboBox(this);
  colors_->setObjectName("FontColorBox");
  QLabel* color_label = MakeNamedLabel(this, "ColourLabel", "&Colour:", colors_);
  QDialogButtonBox* buttons = MakeOkCancel(this);

  auto* color_row = new QFormLayout;
  color_row->addRow(color_label, colors_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chooser_);
  layout->addLayout(color_row);
  layout->addWidget(buttons);
  // The font chooser's own texts are Qt's; the colour's caption is ours.
  RegisterLanguageWindow(this);
}

void KeyFontDialog::Preset(const TFont& initial) {
  chooser_->setCurrentFont(ResolveFont(initial));
  preset_family_ = chooser_->currentFont().family();
  colors_->clear();
  bool listed = false;
  for (const NamedColor& named : kFontColors) {
    colors_->addItem(Swatch(named.Color, palette()), named.Name, named.Color);
    listed = listed || named.Color == initial.Color;
  }
  // A colour the list lacks (the window text colour of a new key, a colour
  // from a layout file) stays choosable, first in the list.
  if (!listed)
    colors_->insertItem(0, Swatch(initial.Color, palette()),
                        initial.Color == kClWindowText ? "Window text" : "Custom", initial.Color);
  colors_->setCurrentIndex(colors_->findData(initial.Color));
}

TFont KeyFontDialog::Chosen(const TFont& initial) const {
  const QFont font = chooser_->currentFont();
  TFont chosen = initial;
  // A family this system lacks ("MS Sans Serif") is shown as its substitute;
  // unless another family is chosen, the key keeps the name it had.
  if (font.family() != preset_family_) chosen.Name = font.family().toLatin1().toStdString();
  chosen.Size = font.pointSize() > 0 ? font.pointSize() : initial.Size;
  chosen.Style = 0;
  if (font.bold()) chosen.Style |= kFsBold;
  if (font.italic()) chosen.Style |= kFsItalic;
  if (font.underline()) chosen.Style |= kFsUnderline;
  if (font.strikeOut()) chosen.Style |= kFsStrikeOut;
  chosen.Color = colors_->currentData().toUInt();
  return chosen;
}

std::optional<TFont> KeyFontDialog::Choose(const TFont& initial) {
  Preset(initial);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Chosen(initial);
}

}  // namespace plumgr::ui
