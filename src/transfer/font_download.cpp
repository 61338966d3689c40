#include "transfer/font_download.h"

#include <QCoreApplication>
#include <algorithm>

#include "data/file_io.h"
#include "data/helpers.h"

namespace plumgr {

void FillFontPackage(std::string_view font, int index, PackageBytes& data) {
  const std::size_t start = static_cast<std::size_t>(index) * kPackageDataSize;
  if (start >= font.size()) return;
  const std::size_t length = std::min<std::size_t>(kPackageDataSize, font.size() - start);
  std::copy_n(reinterpret_cast<const std::uint8_t*>(font.data()) + start, length, data.begin());
}

ServiceResult DownloadFont(TKovoIBusComm& bus, ProgressModel& progress, const std::string& path) {
  FileReadResult file = ReadFileBytes(path);
  if (!file.Ok) return {ServiceOutcome::FileError, file.Message};
  if (file.Bytes.size() > kMaxFontSize)
    return {ServiceOutcome::FileError, "The font file \"" + path +
                                           "\" is too large: " + std::to_string(file.Bytes.size()) +
                                           " bytes, at most " + std::to_string(kMaxFontSize)};
  return DownloadFontBytes(bus, progress, file.Bytes);
}

ServiceResult DownloadFontBytes(TKovoIBusComm& bus, ProgressModel& progress,
                                std::string_view font) {
  if (font.size() > kMaxFontSize)
    return {ServiceOutcome::FileError,
            "The font is too large: at most " + std::to_string(kMaxFontSize) + " bytes"};
  ServiceLink link(bus, progress);
  if (ServiceResult opened = link.Open(ErrorDisconnect::None); !opened) return opened;
  const std::int32_t count = CeilDiv(static_cast<std::int32_t>(font.size()), kPackageDataSize);
  progress.SetMargin(count);
  progress.SetStatus(StatusMode::Normal, Running(kDownloadFontText));
  // A font shorter than one package would otherwise carry whatever the last
  // exchange left in the buffer behind its end.
  bus.PackageData.fill(0);
  for (std::int32_t i = 0; i < count; ++i) {
    progress.SetProgress(i + 1);
    FillFontPackage(font, i, bus.PackageData);
    if (!bus.SendPackage(kFontType, static_cast<std::uint16_t>(i))) {
      link.Fail(Failing(kDownloadFontText), ErrorDisconnect::None);
      return {ServiceOutcome::Failed, {}};
    }
    QCoreApplication::processEvents();
  }
  link.Close();
  return {};
}

}  // namespace plumgr
