#include "sim/package_handlers.h"

#include <algorithm>

#include "data/definitions.h"
#include "sim/plu_handlers.h"
#include "sim/service_handlers.h"
#include "sim/table_handlers.h"

namespace plumgr::sim {
namespace {

constexpr std::uint8_t kStatusType = 0;
constexpr std::uint8_t kLinkControlType = 14;
constexpr std::uint16_t kConnectNumber = 1;
constexpr std::uint16_t kDisconnectNumber = 2;
constexpr std::uint16_t kMemoryPageNumber = 16;

int FromBcd(std::uint8_t byte) {
  return (byte >> 4) * 10 + (byte & 0x0F);
}

// Eight decimal digits, least significant pair first.
std::uint32_t StationFromBcd(std::span<const std::uint8_t, 256> data) {
  std::uint32_t station = 0;
  for (int i = 3; i >= 0; --i)
    station = station * 100 + static_cast<std::uint32_t>(FromBcd(data[i]));
  return station;
}

Answer Connect(const PackageBlock& package, const FrameContext& context, RegisterState& state) {
  auto data = package.Data();
  std::uint8_t speed_code = data[10];
  // A speed the register does not have, or its line cannot be set to, would
  // leave both ends deaf; refusing it lets the PC try again.
  if (speed_code >= BaudRateTable.size()) return Answer::Nak();
  if (context.LineTakes && !context.LineTakes(BaudRateTable[speed_code])) return Answer::Nak();
  state.Connected = true;
  state.LineSpeed = BaudRateTable[speed_code];
  state.Station = StationFromBcd(data);
  for (int i = 0; i < 6; ++i)
    state.PcClock[i] = FromBcd(data[4 + i]);
  ++state.Connects;
  return Answer::Ack();
}

Answer Disconnect(const PackageBlock& package, RegisterState& state) {
  state.Connected = false;
  state.DisconnectedAfterFailure = package.Data()[4] != 0;
  ++state.Disconnects;
  return Answer::Ack();
}

}  // namespace

Answer Answer::Frame(const PackageBlock& request, std::span<const std::uint8_t, 256> data) {
  Answer answer{Kind::Frame, {}};
  answer.Reply.SetType(request.Type());
  answer.Reply.SetNumber(request.Number());
  std::copy(data.begin(), data.end(), answer.Reply.Data().begin());
  answer.Reply.StoreChecksum();
  return answer;
}

void PackageHandlerTable::Set(std::uint8_t type, PackageHandler handler) {
  handlers_[type] = std::move(handler);
}

Answer PackageHandlerTable::Handle(const PackageBlock& package, const FrameContext& context,
                                   RegisterState& state) const {
  const PackageHandler& handler = handlers_[package.Type()];
  if (!handler) return Answer::Nak();
  return handler(package, context, state);
}

Answer HandleStatusPackage(const PackageBlock& package, const FrameContext&, RegisterState& state) {
  if (package.Number() != 0) return Answer::Nak();
  RegisterStatus status = state.Status;
  if (!status.PluCount) status.PluCount = CountPlus(state.Memory);
  if (!status.SalesRecordCount)
    status.SalesRecordCount = static_cast<std::uint32_t>(state.Memory.Sales.size());
  auto data = EncodeStatusData(status);
  return Answer::Frame(package, data);
}

Answer HandleLinkControl(const PackageBlock& package, const FrameContext& context,
                         RegisterState& state) {
  switch (package.Number()) {
    case kConnectNumber:
      return Connect(package, context, state);
    case kDisconnectNumber:
      return Disconnect(package, state);
    case kMemoryPageNumber:
      return HandleMemoryPage(package, context, state);
    default:
      return Answer::Nak();
  }
}

PackageHandlerTable DefaultPackageHandlers() {
  PackageHandlerTable table;
  table.Set(kStatusType, HandleStatusPackage);
  table.Set(kLinkControlType, HandleLinkControl);
  table.Set(1, HandleParameterWrite);
  table.Set(2, HandleFontPackage);
  table.Set(3, HandleRecyclingRead);
  table.Set(4, HandleRecyclingWrite);
  table.Set(5, HandleParameterRead);
  table.Set(7, HandleReport);
  table.Set(8, HandleSalesRecords);
  table.Set(10, HandleDepartmentRead);
  table.Set(11, HandlePluUpload);
  table.Set(12, HandleDepartmentWrite);
  table.Set(13, HandlePluDownload);
  table.Set(87, HandlePluComparison);
  table.Set(97, HandleFastSaleRead);
  table.Set(98, HandleFastSaleWrite);
  return table;
}

}  // namespace plumgr::sim
