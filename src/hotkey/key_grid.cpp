#include "hotkey/key_grid.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

#include "data/helpers.h"

namespace plumgr {

void TGridItem::Assign(const TGridItem& source) {
  Price = source.Price;
  Event = source.Event;
  Code = source.Code;
  Caption = source.Caption;
  Background = source.Background;
  Font = source.Font;
  Dindex = source.Dindex;
  BTNType = source.BTNType;
  KeyValue = source.KeyValue;
  Functionname = source.Functionname;
}

void TGridList::SetImagefile(const std::string& file_name) {
  bool blank = TrimBlanksAndControls(file_name).empty();
  QString path = QFile::decodeName(QByteArray::fromStdString(file_name));
  if (blank || !QFileInfo(path).isFile()) {
    image_file_.clear();
    return;
  }
  image_file_ = file_name;
  // A file that is not a readable picture keeps its name, so saving the layout
  // does not lose it, but shows nothing.
  if (!image_.load(path)) image_ = QImage();
}

void TGridList::ClearImage() {
  image_file_.clear();
  UseImage = false;
  image_ = QImage();
}

void TGridList::Assign(const TGridList& source) {
  TLCaption = source.TLCaption;
  TRCaption = source.TRCaption;
  BLCaption = source.BLCaption;
  BRCaption = source.BRCaption;
  level1_.Assign(source.level1_);
  level2_.Assign(source.level2_);
  image_file_ = source.image_file_;
  if (!source.image_.isNull()) image_ = source.image_;
  CenterLine = source.CenterLine;
  UseImage = source.UseImage;
  Transparent = source.Transparent;
  ShowLBCaption = source.ShowLBCaption;
  ShowRBCaption = source.ShowRBCaption;
  ShowLBFont = source.ShowLBFont;
  ShowRBFont = source.ShowRBFont;
  Selected = false;
}

std::string ListIndexError(int index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}

void ShapeKeyGrid(TMyGrid& grid, int keyboard_type) {
  const bool wide = keyboard_type == kWideKeyboardType;
  grid.ColCount = wide ? 10 : 6;
  grid.RowCount = wide ? 8 : 10;
  grid.SetCount(grid.Count());
}

void TMyGrid::SetCount(int count) {
  keys_.clear();
  selected_.clear();
  select_grid_item_ = nullptr;
  for (int i = 0; i < count; ++i)
    keys_.push_back(std::make_unique<TGridList>());
}

TGridList* TMyGrid::FindItem(int index) {
  if (index < 0 || index >= StoredCount()) return nullptr;
  return keys_[static_cast<size_t>(index)].get();
}

TGridList& TMyGrid::Items(int index) {
  TGridList* key = FindItem(index);
  if (key == nullptr) throw std::out_of_range(ListIndexError(index));
  return *key;
}

const TGridList& TMyGrid::Items(int index) const {
  return const_cast<TMyGrid*>(this)->Items(index);
}

int TMyGrid::SelectItemCount() {
  selected_.clear();
  for (const auto& key : keys_)
    if (key->Selected) selected_.push_back(key.get());
  return static_cast<int>(selected_.size());
}

}  // namespace plumgr
