#include "hotkey/key_drawing.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <charconv>
#include <clocale>

#include "data/code_page.h"
#include "data/definitions.h"

#include "data/helpers.h"

namespace plumgr {
namespace {

constexpr int kLargestPointSize = 1000;

// A layout's system colour indexes name the roles of the platform's palette.
QPalette::ColorRole SystemColorRole(int index) {
  switch (index) {
    case 5:
      return QPalette::Base;  // window background
    case 8:
      return QPalette::Text;  // window text
    case 15:
      return QPalette::Button;  // button face
    case 18:
      return QPalette::ButtonText;  // button text
    case 13:
      return QPalette::Highlight;  // selected item
    case 14:
      return QPalette::HighlightedText;
    case 16:
      return QPalette::Dark;  // button shadow
    case 20:
      return QPalette::Light;  // button highlight
    case 21:
      return QPalette::Shadow;
    case 22:
      return QPalette::Midlight;
    case 23:
      return QPalette::ToolTipText;
    case 24:
      return QPalette::ToolTipBase;
    case 7:
      return QPalette::WindowText;  // menu text
    case 12:
      return QPalette::Mid;  // application workspace
    default:
      return QPalette::Window;
  }
}

std::string ShortestNumber(double value, char decimal_separator) {
  char buffer[64];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text = ec == std::errc() ? std::string(buffer, end) : std::string();
  for (char& ch : text)
    if (ch == '.') ch = decimal_separator;
  return text;
}

}  // namespace

QString KeyDrawContext::Decode(std::string_view text) const {
  return QString::fromStdU16String(DecodeCodePage(text, UpperHalfInForce()));
}

void TakeLocaleNotation(KeyDrawContext& context) {
  context.DecimalSeparator = LocaleDecimalSeparator();
  const char* symbol = std::localeconv()->currency_symbol;
  const QString text = QString::fromLocal8Bit(symbol != nullptr ? symbol : "");
  context.CurrencySymbol =
      EncodeCodePage(text.toStdU16String(), UpperHalfInForce()).value_or(std::string());
}

QColor ResolveColor(TColor color, const QPalette& palette) {
  if (IsSystemColor(color)) return palette.color(QPalette::Active, SystemColorRole(color & 0xFF));
  return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

QFont ResolveFont(const TFont& font) {
  QFont result(QString::fromLatin1(font.Name));
  int size = font.Size > 0 ? std::min(font.Size, kLargestPointSize) : TFont().Size;
  result.setPointSize(size);
  result.setBold(font.Bold());
  result.setItalic(font.Italic());
  result.setUnderline(font.Underline());
  result.setStrikeOut(font.StrikeOut());
  return result;
}

Qt::PenStyle ResolvePenStyle(TPenStyle style) {
  switch (style) {
    case psDash:
      return Qt::DashLine;
    case psDot:
      return Qt::DotLine;
    case psDashDot:
      return Qt::DashDotLine;
    case psDashDotDot:
      return Qt::DashDotDotLine;
    case psClear:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

std::string ItemLabel(const TGridItem& item, bool display_function, bool show_price,
                      std::string_view currency_symbol, char decimal_separator) {
  if (display_function) return item.Functionname;
  std::string label = item.Caption;
  if (show_price && item.Price > 0) {
    label += "\r\n";
    label += currency_symbol;
    label += ShortestNumber(item.Price, decimal_separator);
  }
  return label;
}

QRect ToQRect(const WinRect& rect) {
  return QRect(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void FillWinRect(QPainter& painter, const WinRect& rect, const QColor& color) {
  if (rect.Width() > 0 && rect.Height() > 0) painter.fillRect(ToQRect(rect), color);
}

void DrawRoundRect(QPainter& painter, const WinRect& rect, int ellipse_w, int ellipse_h) {
  if (rect.Width() <= 1 || rect.Height() <= 1) return;
  QRectF outline(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1);
  painter.drawRoundedRect(outline, ellipse_w / 2.0, ellipse_h / 2.0);
}

void DrawHorizontalLine(QPainter& painter, int x1, int x2, int y) {
  if (x2 - 1 >= x1) painter.drawLine(x1, y, x2 - 1, y);
}

void DrawLabel(QPainter& painter, const QString& label, const WinRect& region,
               const QColor& color) {
  constexpr int kFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
  QString text = label;
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  int width = std::max(region.Width(), 1);
  int h = painter.boundingRect(QRect(region.Left, 0, width, 1 << 20), kFlags, text).height();
  WinRect box = region;
  if (h < region.Height()) box.Top += (region.Height() - h) / 2;
  painter.save();
  painter.setPen(color);
  painter.drawText(ToQRect(box), kFlags, text);
  painter.restore();
}

void DrawCornerCaptions(QPainter& painter, const TGridList& key, const WinRect& k,
                        const WinRect& last_drawn, const QColor& level1_fill,
                        const QColor& level2_fill, const KeyDrawContext& context) {
  enum class Corner { TopLeft, BottomRight, BottomLeft, TopRight };
  struct Caption {
    const std::string* text;
    Corner corner;
    const QColor* fill;
    const TFont* font;
    bool shown;
  };
  const Caption captions[] = {
      {&key.TLCaption, Corner::TopLeft, &level1_fill, &key.ShowLBFont, key.ShowLBCaption},
      {&key.BLCaption, Corner::BottomRight, &level2_fill, &key.ShowLBFont, key.ShowLBCaption},
      {&key.BRCaption, Corner::BottomLeft, &level2_fill, &key.ShowRBFont, key.ShowRBCaption},
      {&key.TRCaption, Corner::TopRight, &level1_fill, &key.ShowRBFont, key.ShowRBCaption},
  };
  constexpr int kFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
  WinRect last = last_drawn;
  painter.save();
  painter.setBackgroundMode(Qt::OpaqueMode);
  for (const Caption& caption : captions) {
    std::string_view trimmed = TrimBlanksAndControls(*caption.text);
    if (!caption.shown || trimmed.empty()) continue;
    QString text = context.Decode(trimmed);
    painter.setFont(ResolveFont(*caption.font));
    painter.setPen(ResolveColor(caption.font->Color, context.Palette));
    painter.setBackground(*caption.fill);
    int wrap_width = std::max(last.Width(), 1);
    QFontMetrics metrics = painter.fontMetrics();
    int w = metrics.horizontalAdvance(text);
    int h = metrics.height();
    if (w > wrap_width) {
      w = wrap_width;
      h = painter.boundingRect(QRect(0, 0, wrap_width, 1 << 20), kFlags, text).height();
    }
    WinRect box;
    switch (caption.corner) {
      case Corner::TopLeft:
        box = {k.Left + 1, k.Top + 1, k.Left + w, k.Top + h};
        break;
      case Corner::BottomRight:
        box = {k.Right - w - 1, k.Bottom - h - 1, k.Right, k.Bottom};
        break;
      case Corner::BottomLeft:
        box = {k.Left + 1, k.Bottom - h - 1, k.Left + w, k.Bottom};
        break;
      case Corner::TopRight:
        box = {k.Right - w - 1, k.Top + 1, k.Right, k.Top + h};
        break;
    }
    // The box may be a pixel narrower than the measured text; drawing must not
    // drop its last character for that.
    painter.drawText(ToQRect(box), kFlags | Qt::TextDontClip, text);
    last = box;
  }
  painter.restore();
}

QImage KeyPicture(const TGridList& key) {
  QImage picture = key.Image();
  if (!key.Transparent || picture.isNull()) return picture;
  picture = picture.convertToFormat(QImage::Format_ARGB32);
  QRgb see_through = picture.pixel(0, picture.height() - 1);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x)
      if (line[x] == see_through) line[x] = qRgba(0, 0, 0, 0);
  }
  return picture;
}

}  // namespace plumgr
