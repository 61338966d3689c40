#pragma once
// The command line's promises about the operator's data, as --help shows them.
// README.md ("Command-line contract") says the same at more length.

namespace plumgr::cli {

inline constexpr const char* kContractText = R"(What plumgr-cli promises:
  - download refuses, before it opens the port, a set whose files are missing (SET.PLU by its
    exact name, the .DEP, .RCY, .Sign or .PAR a chosen kind is sent from), or whose .PAR holds
    none of the keys of a chosen parameter, VAT or header kind; it never rewrites the settings
    file: parameters, VAT rates and header are read from SET.PAR
  - without --from/--to a transfer covers the model's whole PLU table; a range outside it is
    refused ("Invalid PLU range")
  - upload writes only the files of the kinds uploaded (and those the set lacks), and tries
    every file it will write before it connects
  - fill-test-data refuses an existing set unless --force; no command writes through a
    read-only file
  - an [Other] Service value that names no model warns and uses model 0
  - --json: every line on stdout is a JSON object, the last one {"event":"result","ok",
    "exit","message"}
  - exit status 0 success, 1 the transfer failed or the port could not be opened, 2 a usage
    error or a file that cannot be read or written (also after the register has answered))";

inline constexpr const char* kDownloadContract =
    R"(Without --from/--to the whole PLU table of the register model is sent. Refused before the
port is opened (exit 2): SET.PLU missing by its exact name, a missing SET.DEP (department),
SET.RCY (recycling), SET.Sign (fastsale) or SET.PAR (parameter, vat, header), and a SET.PAR
holding none of the keys of a chosen parameter, vat or header kind. The settings file is never
written: the parameters, VAT rates and header are read from SET.PAR.)";

inline constexpr const char* kUploadContract =
    R"(Without --from/--to the whole PLU table of the register model is read. Into an existing set
only the files of the kinds uploaded are written (a PLU range keeps the other rows of SET.PLU);
every other file stays byte for byte. Each file to write, and the settings file when the
parameters are uploaded, is tried before the port is opened (exit 2 naming the file).)";

}  // namespace plumgr::cli
