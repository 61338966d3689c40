#pragma once
// How a command ends. A command leaves a summary when it succeeds; the errors
// it shows are noted as they go by. At the end main prints the summary (plain
// text on stdout, unless --quiet) or, under --json, the result object, which is
// always the last line on stdout, whatever the exit status.

#include <string>
#include <string_view>

namespace plumgr::cli {

struct GlobalOptions;

// One JSON object built field by field: {"event":EVENT,...}.
class JsonLine {
 public:
  explicit JsonLine(std::string_view event);
  JsonLine& Text(std::string_view key, const std::string& utf8);
  JsonLine& Number(std::string_view key, long long value);
  JsonLine& Flag(std::string_view key, bool value);
  // A value that is JSON already, such as an array of objects.
  JsonLine& Json(std::string_view key, const std::string& json);
  // The object with its closing brace, without a line end.
  std::string Str() const { return body_ + "}"; }

 private:
  std::string body_;
};

// One line of a command's output on stdout: the text as it is, or under --json
// the object {"event":EVENT,"text":TEXT}.
void PrintOutputLine(const GlobalOptions& options, std::string_view event, const std::string& utf8);
// A line that is already a JSON object under --json, and its text otherwise.
void PrintOutputLine(const GlobalOptions& options, const JsonLine& json, const std::string& utf8);

// The summary of a command that succeeded; a later part is appended after "; ".
void SetSummary(std::string utf8);
void AppendSummary(const std::string& utf8);
// The result's message of a command that succeeded and has said what it did
// in its own lines already: used under --json only.
void SetResultMessage(std::string utf8);
// A further field of the result object, such as the PLU range a transfer covered.
void SetResultNumber(std::string key, long long value);
// An error the operator has been shown; the last one is the result's message
// when the command fails.
void NoteError(std::string utf8);
// Shows the error on stderr ("plumgr-cli: ..."), notes it for the result, and
// returns exit_code.
int Fail(int exit_code, const std::string& utf8);

// The closing line: the summary on stdout (not under --quiet), or under --json
// {"event":"result","ok":...,"exit":...,"message":...} with the further fields.
void PrintClosingLine(const GlobalOptions& options, int exit_code);

}  // namespace plumgr::cli
