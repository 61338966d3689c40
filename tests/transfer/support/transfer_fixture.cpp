#include "transfer/support/transfer_fixture.h"

#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <fstream>
#include <iterator>

#include "data/definitions.h"
#include "data/helpers.h"
#include "transfer/wire_numbers.h"

namespace plumgr::test {

void RecordingProgressView::ShowStatus(StatusMode mode, const std::string& text) {
  Statuses.push_back(text);
  if (mode != StatusMode::Error) return;
  Errors.push_back(text);
  model_.PressOk();
}

void TransferFixture::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::to_string(::getpid()) + "_" + info->name();
  std::replace(name.begin(), name.end(), '/', '_');
  dir_ = std::filesystem::temp_directory_path() / ("plumgr_transfer_" + name);
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  old_cwd_ = std::filesystem::current_path();
  // The repeat report goes to the working directory.
  std::filesystem::current_path(dir_);

  SelectProfile(0);
  Texts() = DefaultDisplayTexts(separator_);
  SizeTables(tables_, CurrentProfile());
  ResetAllRows(tables_, separator_);
  recycling_ = InitialRecyclingTable(separator_);
  fast_sale_ = InitialFastSaleTable();
  data_.SettingsPath = (dir_ / "SYSTEM.CFG").string();
  data_.DumpDir = (dir_ / "dumps").string();
  data_.DecimalSeparator = separator_;
  data_.OpenFile = [this](const std::string& path) { opened_.push_back(path); };
  data_.Warn = [this](const std::string& message) { warnings_.push_back(message); };

  sim::SimConfig config;
  config.LineRate = false;
  sim_ = std::make_unique<sim::EcrSimulator>(config);
  progress_.SetView(&view_);
  progress_.SetBus(&bus_);
  // Failures wait for their time-outs; short ones keep the tests quick.
  bus_.SetRetryInterval(300);
  bus_.SetRetryCount(1);
  bus_.SetConnectInterval(40);
  bus_.SetDisconnectInterval(40);
  driver_.Timings = {300, 300};
}

void TransferFixture::TearDown() {
  if (sim_) sim_->Stop();
  progress_.SetView(nullptr);
  std::filesystem::current_path(old_cwd_);
  std::filesystem::remove_all(dir_);
  SelectProfile(0);
  Texts() = DefaultDisplayTexts('.');
}

void TransferFixture::Serve(std::uint8_t type, std::map<int, PackageBytes> pages) {
  sim_->SetHandler(type, [pages = std::move(pages)](const PackageBlock& request,
                                                    const sim::FrameContext&, sim::RegisterState&) {
    auto found = pages.find(request.Number());
    if (found == pages.end()) return sim::Answer::Silence();
    return sim::Answer::Frame(request, found->second);
  });
}

void TransferFixture::Accept(std::uint8_t type) {
  sim_->SetHandler(type, [](const PackageBlock&, const sim::FrameContext&, sim::RegisterState&) {
    return sim::Answer::Ack();
  });
}

void TransferFixture::Refuse(std::uint8_t type) {
  sim_->SetHandler(type, [](const PackageBlock&, const sim::FrameContext&, sim::RegisterState&) {
    return sim::Answer::Nak();
  });
}

void TransferFixture::RefuseNumbers(std::uint8_t type, std::vector<int> numbers) {
  sim_->SetHandler(
      type, [numbers = std::move(numbers)](const PackageBlock& package, const sim::FrameContext&,
                                           sim::RegisterState&) {
        const bool refused =
            std::find(numbers.begin(), numbers.end(), package.Number()) != numbers.end();
        return refused ? sim::Answer::Nak() : sim::Answer::Ack();
      });
}

void TransferFixture::Start(const sim::RegisterStatus& status) {
  sim_->SetStatus(status);
  bus_.SetCommName(sim_->Start());
}

bool TransferFixture::RunStep(bool (*step)(TransferStep&), const PluRange& range,
                              int price_decimals, std::uint8_t download_kinds) {
  status_.PriceDecimals = price_decimals;
  if (!bus_.Activate(true)) return false;
  progress_.Show();
  TransferStep context{bus_, progress_, data_, status_, range, download_kinds, driver_.Timings};
  const bool ok = step(context);
  (void)bus_.Activate(false);
  progress_.Close();
  return ok;
}

std::vector<package> TransferFixture::Received(std::uint8_t type) const {
  std::vector<package> packages;
  for (const sim::ReceivedPackage& got : sim_->Received())
    if (got.Package.Type == type) packages.push_back(got.Package);
  return packages;
}

std::vector<int> TransferFixture::Numbers(std::uint8_t type) const {
  std::vector<int> numbers;
  for (const package& p : Received(type))
    numbers.push_back(p.Number);
  return numbers;
}

int TransferFixture::ErrorDisconnects() const {
  int count = 0;
  for (const package& p : Received(kLinkControlType))
    if (p.Number == kDisconnectNumber && p.Data[4] == 1) ++count;
  return count;
}

void PutPluRecord(PackageBytes& data, int k, const std::string& name, std::int64_t barcode,
                  std::uint32_t price, std::uint8_t dept, std::uint32_t stock) {
  const std::size_t at = 64 * static_cast<std::size_t>(k);
  Int64ToBcd(13, data.data() + at, barcode);
  PutTextField(data, at + 7, 18, name);
  PutBig32(data, at + 25, price);
  data[at + 44] = dept;
  PutBig32(data, at + 45, stock);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

PackageBytes FilledPackage(std::uint8_t fill) {
  PackageBytes bytes;
  bytes.fill(fill);
  return bytes;
}

}  // namespace plumgr::test
