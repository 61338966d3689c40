#pragma once
// The hot-key editor's font dialog ("dlgFont1"): the font's family, style and
// size as Qt's font chooser offers them, with the colour the caption is drawn
// in, as a key's level keeps them together.

#include <QDialog>
#include <QString>
#include <optional>

#include "data/color_font.h"

class QComboBox;
class QFontDialog;

namespace plumgr::ui {

class KeyFontDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit KeyFontDialog(QWidget* parent = nullptr);

  // Runs the dialog preset with `initial`; the chosen font keeps the initial
  // character set, or nothing when cancelled.
  std::optional<TFont> Choose(const TFont& initial);

  QFontDialog* FontChooser() const { return chooser_; }
  QComboBox* ColorBox() const { return colors_; }

 private:
  void Preset(const TFont& initial);
  TFont Chosen(const TFont& initial) const;

  QFontDialog* chooser_;
  QComboBox* colors_;
  QString preset_family_;
};

}  // namespace plumgr::ui
