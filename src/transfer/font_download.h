#pragma once
// The font download: a font file sent to the register in 256-byte packages of
// type 2, numbered from 0.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/bus_frame.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "transfer/service_link.h"

namespace plumgr {

inline constexpr std::uint8_t kFontType = 2;
inline constexpr const char* kDownloadFontText = "Download font";
// Package numbers have 16 bits; a larger file would repeat them and overwrite
// its own beginning in the register.
inline constexpr std::size_t kMaxFontSize = std::size_t{65536} * kPackageDataSize;

// Puts package `index` of the font into `data`. A last piece shorter than 256
// bytes leaves the bytes behind it as they were: the previous package's.
void FillFontPackage(std::string_view font, int index, PackageBytes& data);

// Reads the file before the port is opened, so an unreadable file costs no
// connection; then connects, sends the packages and disconnects. The bus
// component must have its port and speed; the port is closed on every way out.
ServiceResult DownloadFont(TKovoIBusComm& bus, ProgressModel& progress, const std::string& path);

// The same with the file's bytes already read; a font over kMaxFontSize is
// refused before the port is opened.
ServiceResult DownloadFontBytes(TKovoIBusComm& bus, ProgressModel& progress, std::string_view font);

}  // namespace plumgr
