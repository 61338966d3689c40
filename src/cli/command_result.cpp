#include "cli/command_result.h"

#include <iostream>
#include <utility>
#include <vector>

#include "cli/cli_context.h"
#include "cli/progress_views.h"

namespace plumgr::cli {
namespace {

struct ResultRecord {
  std::string Summary;
  std::string Message;
  std::string LastError;
  std::vector<std::pair<std::string, long long>> Numbers;
};

ResultRecord& Record() {
  static ResultRecord record;
  return record;
}

// A failure that showed no text of its own still says what kind it was.
std::string FallbackMessage(int exit_code) {
  switch (exit_code) {
    case kSuccess:
      return "Done";
    case kFailed:
      return "The command failed";
    case kUsage:
      return "Usage error";
    default:
      return "Ended with exit status " + std::to_string(exit_code);
  }
}

}  // namespace

JsonLine::JsonLine(std::string_view event) {
  body_ = "{\"event\":" + JsonQuote(std::string(event));
}

JsonLine& JsonLine::Text(std::string_view key, const std::string& utf8) {
  body_ += "," + JsonQuote(std::string(key)) + ":" + JsonQuote(utf8);
  return *this;
}

JsonLine& JsonLine::Number(std::string_view key, long long value) {
  body_ += "," + JsonQuote(std::string(key)) + ":" + std::to_string(value);
  return *this;
}

JsonLine& JsonLine::Flag(std::string_view key, bool value) {
  body_ += "," + JsonQuote(std::string(key)) + ":" + (value ? "true" : "false");
  return *this;
}

JsonLine& JsonLine::Json(std::string_view key, const std::string& json) {
  body_ += "," + JsonQuote(std::string(key)) + ":" + json;
  return *this;
}

void PrintOutputLine(const GlobalOptions& options, std::string_view event,
                     const std::string& utf8) {
  PrintOutputLine(options, JsonLine(event).Text("text", utf8), utf8);
}

void PrintOutputLine(const GlobalOptions& options, const JsonLine& json, const std::string& utf8) {
  std::cout << (options.Json ? json.Str() : utf8) << "\n" << std::flush;
}

void SetSummary(std::string utf8) {
  Record().Summary = std::move(utf8);
}

void SetResultMessage(std::string utf8) {
  Record().Message = std::move(utf8);
}

void AppendSummary(const std::string& utf8) {
  std::string& summary = Record().Summary;
  summary += (summary.empty() ? "" : "; ") + utf8;
}

void SetResultNumber(std::string key, long long value) {
  for (auto& [name, number] : Record().Numbers) {
    if (name == key) {
      number = value;
      return;
    }
  }
  Record().Numbers.emplace_back(std::move(key), value);
}

void NoteError(std::string utf8) {
  Record().LastError = std::move(utf8);
}

int Fail(int exit_code, const std::string& utf8) {
  std::cerr << "plumgr-cli: " << utf8 << "\n";
  NoteError(utf8);
  return exit_code;
}

void PrintClosingLine(const GlobalOptions& options, int exit_code) {
  const ResultRecord& record = Record();
  const bool ok = exit_code == kSuccess;
  if (!options.Json) {
    if (ok && !options.Quiet && !record.Summary.empty())
      std::cout << record.Summary << "\n" << std::flush;
    return;
  }
  std::string message = ok ? record.Summary : record.LastError;
  if (ok && message.empty()) message = record.Message;
  if (message.empty()) message = FallbackMessage(exit_code);
  JsonLine line("result");
  line.Flag("ok", ok).Number("exit", exit_code).Text("message", message);
  for (const auto& [key, value] : record.Numbers)
    line.Number(key, value);
  std::cout << line.Str() << "\n" << std::flush;
}

}  // namespace plumgr::cli
