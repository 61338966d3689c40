#include "sim/sim_config.h"

#include <algorithm>
#include <charconv>

#include "data/definitions.h"

namespace plumgr::sim {

std::optional<std::vector<int>> ParseSpeedList(std::string_view text) {
  if (text == "any") return std::vector<int>{};
  std::vector<int> speeds;
  while (true) {
    std::size_t comma = text.find(',');
    std::string_view item = text.substr(0, comma);
    int speed = 0;
    auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), speed);
    if (error != std::errc{} || end != item.data() + item.size() ||
        std::find(BaudRateTable.begin(), BaudRateTable.end(), speed) == BaudRateTable.end())
      return std::nullopt;
    speeds.push_back(speed);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return speeds;
}

}  // namespace plumgr::sim
