#pragma once
// Drawing pieces shared by the editor's grid and the printed sheet: colours and
// fonts for the device, the label and text rules and the corner captions.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPen>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

#include "hotkey/key_grid.h"

class QPainter;

namespace plumgr {

// What drawing needs from the surroundings: the palette that system colours
// resolve to and the locale's notation for prices.
class KeyDrawContext {
 public:
  QPalette Palette;
  char DecimalSeparator = '.';
  std::string CurrencySymbol;

  // The captions are PLU and department names, the register's text: for
  // display they are read in the code page of the register's text in force.
  QString Decode(std::string_view text) const;
};

// The process locale's decimal separator and currency symbol (as code-page
// bytes, like the captions) for the labels' prices.
void TakeLocaleNotation(KeyDrawContext& context);

// An RGB colour as it is, a system colour from the palette (5 window, 8 window
// text, 15 button face, ...).
QColor ResolveColor(TColor color, const QPalette& palette);

// The font for the device the painter draws on; the size is kept within what
// can be drawn, whatever a damaged layout file says.
QFont ResolveFont(const TFont& font);

Qt::PenStyle ResolvePenStyle(TPenStyle style);

// The text of a level: its function name, or its caption with the price on a
// second line when prices are shown and the price is above 0.
std::string ItemLabel(const TGridItem& item, bool display_function, bool show_price,
                      std::string_view currency_symbol, char decimal_separator);

QRect ToQRect(const WinRect& rect);
void FillWinRect(QPainter& painter, const WinRect& rect, const QColor& color);
// Outline in the current pen, filled with the current brush; ellipse w x h at the corners.
void DrawRoundRect(QPainter& painter, const WinRect& rect, int ellipse_w, int ellipse_h);
// A line that stops short of its end point, as the register's sheets were drawn.
void DrawHorizontalLine(QPainter& painter, int x1, int x2, int y);

// The label word-wrapped and centred horizontally, moved down to the vertical
// middle of the region when it is shorter than the region.
void DrawLabel(QPainter& painter, const QString& label, const WinRect& region, const QColor& color);

// The four corner captions of a key in K. last_drawn is the region drawn last
// before them; its width bounds the first caption's wrapping.
void DrawCornerCaptions(QPainter& painter, const TGridList& key, const WinRect& k,
                        const WinRect& last_drawn, const QColor& level1_fill,
                        const QColor& level2_fill, const KeyDrawContext& context);

// The key's picture, with the colour of its bottom-left pixel made see-through
// when the key asks for a transparent picture.
QImage KeyPicture(const TGridList& key);

}  // namespace plumgr
