#include "cli/cli_context.h"

namespace plumgr::cli {

std::vector<CommandRegistrar>& Registrars() {
  static std::vector<CommandRegistrar> registrars;
  return registrars;
}

}  // namespace plumgr::cli
