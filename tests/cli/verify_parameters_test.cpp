#include "cli/verify_parameters.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "data/definitions.h"
#include "transfer/parameter_block.h"
#include "transfer/transfer_driver.h"

namespace plumgr::cli {
namespace {

// The first key of each kind that the register's block lacks is the one
// named; once the .PAR values are merged into the block nothing differs.
TEST(VerifyParametersTest, NamesTheFirstKeyOfTheKindsTheRegisterLacks) {
  SelectProfile(0);
  const std::string par = (std::filesystem::temp_directory_path() /
                           ("plumgr_verify_" + std::to_string(::getpid()) + ".PAR"))
                              .string();
  std::ofstream(par) << "[Default]\r\nVAT3=08.00\r\nFlag12=1\r\nHeader2=Shop\r\n";
  std::array<std::uint8_t, kParameterReadSize> held{};
  const auto named = [&](int kind) {
    return CompareParameters(held, par, KindBit(kind), '.').value_or("(none)");
  };
  EXPECT_EQ(named(kDownloadVat).find("VAT3 or Tax-free of \"" + par + "\" differs"), 0u);
  EXPECT_EQ(named(kDownloadParameter).find("Flag12 of"), 0u) << named(kDownloadParameter);
  EXPECT_EQ(named(kDownloadHeader).find("Header2 of"), 0u) << named(kDownloadHeader);

  const std::uint8_t all =
      KindBit(kDownloadVat) | KindBit(kDownloadParameter) | KindBit(kDownloadHeader);
  IniDocument values =
      IniDocument::Parse("[Default]\r\nVAT3=08.00\r\nFlag12=1\r\nHeader2=Shop\r\n");
  ParameterBlock block = ParameterBlockFromReceived(held);
  ASSERT_TRUE(MergeParameterSettings(block, Settings(values, '.'), ParameterGroupsOf(all),
                                     ParameterLayout{}));
  std::copy_n(block.begin(), held.size(), held.begin());
  EXPECT_EQ(CompareParameters(held, par, all, '.'), std::nullopt);
  std::filesystem::remove(par);
}

}  // namespace
}  // namespace plumgr::cli
