#pragma once
// The memory dump: the register's memory read in 256-byte pages (package type
// 14, number 16), kept raw in TEMP.BIN and as a hexadecimal listing in TEMP.LOG.

#include <cstdint>
#include <string>

#include "link/bus_frame.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "transfer/service_link.h"

namespace plumgr {

inline constexpr std::uint8_t kMemoryPageType = 14;
inline constexpr std::uint16_t kMemoryPageNumber = 16;
inline constexpr const char* kReceiveDataText = "Receive Data";
inline constexpr const char* kMemoryBinFile = "TEMP.BIN";
inline constexpr const char* kMemoryLogFile = "TEMP.LOG";

enum class MemoryKind : std::uint8_t { Rom = 0, Ram = 1 };

struct MemoryRange {
  std::uint32_t FirstPage = 0;
  // Zero or less requests nothing and leaves both files empty.
  std::int32_t Count = 8;
  MemoryKind Kind = MemoryKind::Rom;
};

// The request's data: the page number's low 16 bits, low byte first, then the
// memory kind × 16; the rest zero.
PackageBytes MemoryPageRequest(std::uint32_t page, MemoryKind kind);

// The 16 listing lines of one page, each "AAAAAAAA  " + 16 × "HH " + the bytes
// as characters (below 0x20 as '.'), ended by CR LF.
std::string PageListing(std::uint32_t page, const PackageBytes& data);

struct [[nodiscard]] MemoryDumpResult {
  ServiceResult Result;
  std::string BinPath;  // written, possibly partly, once the connect succeeded
  std::string LogPath;  // written on success only
};

// Connects, requests the pages into TEMP.BIN in `dump_dir` (created when
// missing), disconnects, then saves TEMP.LOG. A failed page leaves TEMP.BIN
// with the pages before it and TEMP.LOG as it was. The bus component must have
// its port and speed; the port is closed on every way out.
MemoryDumpResult DumpMemory(TKovoIBusComm& bus, ProgressModel& progress, const MemoryRange& range,
                            const std::string& dump_dir);

}  // namespace plumgr
