#pragma once
// download --verify of the parameter, VAT and header kinds: the register's
// parameter block as read back must not change when the set's .PAR values of
// the chosen kinds are merged into it once more.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace plumgr::cli {

// The first settings key of the chosen kinds whose value the register does not
// hold ("VAT3 differs: ..."), nothing when it holds them all. `received` is
// the 512 bytes read back; the .PAR is read as the download read it.
std::optional<std::string> CompareParameters(std::span<const std::uint8_t> received,
                                             const std::string& parameter_file,
                                             std::uint8_t download_kinds, char decimal_separator);

}  // namespace plumgr::cli
