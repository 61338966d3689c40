#include "transfer/parameter_transfer.h"

#include <array>

#include "data/definitions.h"
#include "data/settings_keys.h"
#include "data/settings_location.h"
#include "data/settings_text.h"
#include "transfer/parameter_block.h"

namespace plumgr {
namespace {

using ReceivedParameters = std::array<std::uint8_t, kParameterReadSize>;

ParameterLayout ProfileLayout() {
  return {CurrentProfile().HeaderWidth, CurrentProfile().TailWidth};
}

std::string_view AsText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void Warn(const TransferStep& step, const std::string& message) {
  if (step.Data.Warn) step.Data.Warn(message);
}

// Both packages of the block, each set on the progress window if `progress`.
bool ReadParameterPackages(TransferStep& step, ReceivedParameters& received, bool progress) {
  for (int i = 0; i < kParameterReadPackages; ++i) {
    if (!step.Bus.RequestPackage(kParameterReadType, static_cast<std::uint16_t>(i))) return false;
    std::copy(step.Bus.PackageData.begin(), step.Bus.PackageData.end(),
              received.begin() + kPackageDataSize * i);
    if (progress) step.Progress.SetProgress(i + 1);
  }
  return true;
}

}  // namespace

bool DownloadParameters(TransferStep& step) {
  ReceivedParameters received{};
  if (!ReadParameterPackages(step, received, false)) return false;
  ParameterBlock block = ParameterBlockFromReceived(received);

  SettingsTextRead read = ReadSettingsTextFile(step.Data.SettingsPath);
  if (!read.Ok) {
    Warn(step, read.Message);
    return false;
  }
  // A header or clerk name the register's code page cannot hold is not sent as
  // a '?' in its place.
  if (const UnencodableSetting* refused = FirstUnencodableSent(read.Text)) {
    Warn(step, DescribeUnencodableSetting(step.Data.SettingsPath, *refused, read.Text.Page));
    return false;
  }
  const Settings settings(read.Document, step.Data.DecimalSeparator);
  if (!MergeParameterSettings(block, settings, ParameterGroupsOf(step.DownloadKinds),
                              ProfileLayout()))
    return false;
  WriteDump(step, kDownloadParameterDump, AsText(block));

  step.Progress.SetMargin(kParameterSendPackages);
  bool ok = true;
  for (int j = 0; j < kParameterSendPackages && !step.Cancelled(); ++j) {
    step.Bus.PackageData = ParameterPackage(block, j);
    if (!step.Bus.SendPackage(kParameterWriteType, static_cast<std::uint16_t>(j))) ok = false;
    step.Progress.SetProgress(j + 1);
  }
  return ok;
}

bool UploadParameters(TransferStep& step) {
  step.Progress.SetMargin(kParameterReadPackages);
  ReceivedParameters received{};
  if (!ReadParameterPackages(step, received, true)) return false;
  WriteDump(step, kUploadParameterDump, AsText(received));

  bool stored = false;
  FileResult written = SettingsFile(step.Data.SettingsPath).Update([&](IniDocument& document) {
    Settings settings(document, step.Data.DecimalSeparator);
    stored = StoreParameterBlock(received, settings, ProfileLayout());
  });
  if (!written) {
    Warn(step, written.Message);
    return false;
  }
  return stored;
}

}  // namespace plumgr
