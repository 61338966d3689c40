#pragma once
// The register's state as a text file, so that a register can be prepared
// before a run and inspected after it. One item a line, a keyword followed by
// fields separated by one blank; binary data as upper-case hexadecimal. Lines
// that are empty or start with '#' are ignored; CR LF line ends are accepted.
//
//   ecrsim-state 1               first line: the format and its version
//   price-decimals N             status byte 0
//   reports-cleared yes|no       status byte 1
//   plu INDEX HEX                a PLU slot (0 to 9999) holding a record, 64 bytes
//   sale HEX                     the next PLU sales record, 17 bytes
//   department NUMBER HEX        department 1 to 16, 32 bytes
//   recycling NUMBER HEX         recycling number 1 to 100, 16 bytes
//   parameters OFFSET HEX        bytes of the 768-byte parameter block
//   fast-sale OFFSET HEX         bytes of the 256-byte fast-sale block
//   report HEX                   the next piece of the report text
//   page rom|ram NUMBER HEX      a memory page (0 to 65535), 256 bytes
//   font NUMBER HEX              a received font package, 256 bytes
//
// Whatever the file does not name is empty or zero (memory pages: their
// filler). Writing names only what is not, so a written file reads back into
// exactly the same state.

#include <optional>
#include <string>
#include <string_view>

#include "sim/register_memory.h"
#include "sim/register_status.h"

namespace plumgr::sim {

struct RegisterImage {
  RegisterStatus Status;  // the counts are not part of the file
  RegisterMemory Memory;
};

std::string StateText(const RegisterImage& image);

// Replaces the price decimals, the report state and the memory of image.
// Returns the error ("line 7: ...") and leaves image unchanged on bad input.
[[nodiscard]] std::optional<std::string> ParseStateText(std::string_view text,
                                                        RegisterImage& image);

// Both return an error text naming the file, or nothing on success. Saving
// writes a new file beside the old one and renames it over, so a failed save
// never leaves half a state behind.
[[nodiscard]] std::optional<std::string> SaveStateFile(const std::string& path,
                                                       const RegisterImage& image);
[[nodiscard]] std::optional<std::string> LoadStateFile(const std::string& path,
                                                       RegisterImage& image);

}  // namespace plumgr::sim
