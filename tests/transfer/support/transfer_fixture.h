#pragma once
// The PC side of a transfer (bus component, progress window, the main window's
// tables) against an in-process simulated register on a pseudo-terminal whose
// data packages the test answers itself: requested packages from pages it
// sets, sent packages acknowledged or refused.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/small_tables.h"
#include "data/tables.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "sim/ecr_simulator.h"
#include "transfer/transfer_driver.h"

namespace plumgr::test {

// Records every status text and acknowledges errors as an operator would.
class RecordingProgressView final : public ProgressView {
 public:
  explicit RecordingProgressView(ProgressModel& model) : model_(model) {}
  void ShowWindow() override {}
  void HideWindow() override {}
  void ShowStatus(StatusMode mode, const std::string& text) override;
  void ShowCounts(const ProgressCounts& counts) override { Counts.push_back(counts); }

  std::vector<std::string> Statuses;
  std::vector<std::string> Errors;
  std::vector<ProgressCounts> Counts;

 private:
  ProgressModel& model_;
};

class TransferFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Before Start: requested packages of `type` are answered from `pages` by
  // number; a number without a page gets no answer.
  void Serve(std::uint8_t type, std::map<int, PackageBytes> pages);
  // Before Start: packages of `type` are acknowledged, or all refused with NAK,
  // or refused only for the numbers listed.
  void Accept(std::uint8_t type);
  void Refuse(std::uint8_t type);
  void RefuseNumbers(std::uint8_t type, std::vector<int> numbers);
  void Start(const sim::RegisterStatus& status = {});

  // The data packages of one type the register received, in arrival order.
  std::vector<package> Received(std::uint8_t type) const;
  std::vector<int> Numbers(std::uint8_t type) const;
  // Disconnect packages with the after-failure byte set.
  int ErrorDisconnects() const;

  // Runs one step on an open port, as the sequence runs it after the status check.
  bool RunStep(bool (*step)(TransferStep&), const PluRange& range = {1, 10}, int price_decimals = 2,
               std::uint8_t download_kinds = 0);
  EcrStatus status_;

  TransferData& Data() { return data_; }
  std::string DumpPath(const char* name) const { return (dir_ / "dumps" / name).string(); }

  char separator_ = '.';
  std::filesystem::path dir_;
  std::filesystem::path old_cwd_;
  std::unique_ptr<sim::EcrSimulator> sim_;
  TKovoIBusComm bus_;
  ProgressModel progress_;
  RecordingProgressView view_{progress_};
  TransferDriver driver_{bus_, progress_};
  Tables tables_;
  RecyclingTable recycling_{};
  FastSaleTable fast_sale_{};
  std::vector<std::string> repeat_report_;
  std::vector<std::string> warnings_;
  std::vector<std::string> opened_;
  TransferData data_{tables_, recycling_, fast_sale_, repeat_report_, "", "", '.', {}, {}};
};

// A 64-byte PLU record at record position k of a package, as the register
// sends it: barcode, name, price, department byte, stock; other bytes 0.
void PutPluRecord(PackageBytes& data, int k, const std::string& name, std::int64_t barcode,
                  std::uint32_t price, std::uint8_t dept, std::uint32_t stock);

// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// A package whose bytes are all `fill`.
PackageBytes FilledPackage(std::uint8_t fill);

}  // namespace plumgr::test
