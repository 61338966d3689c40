#pragma once
// The command line's promises about the operator's data, as --help shows them.
// README.md ("Command line contract") says the same at more length.

namespace plumgr::cli {

inline constexpr const char* kContractText = R"(What plumgr-cli promises about your data:
  - download refuses, before it opens the port (exit 2): SET.PLU missing by its exact name (a
    file differing only in letter case is named), a missing .DEP, .RCY, .Sign or .PAR of a chosen
    kind, a .PAR that is empty or lacks every key of a chosen parameter, VAT or header kind,
    and every cell the register cannot hold (check lists the same cells)
  - download never writes the settings file: parameters, VAT rates and header come from SET.PAR
  - without --from/--to a transfer covers the model's whole PLU table; a range outside it is
    refused ("Invalid PLU range")
  - upload writes only the files of the kinds uploaded (and those the set lacks), and tries
    each of them, and the settings file for parameters, before it connects
  - a tab, CR or LF in a name read from the register is stored as a space (the summary counts them)
  - a SET without an extension is SET.PLU for every command, whatever other files exist
  - data files and .PAR saved as UTF-8 are read as UTF-8; a character the code page lacks is
    refused
  - fill-test-data refuses an existing set unless --force; no command writes through a
    read-only file
  - an [Other] Service value that names no register model warns and uses model 0
  - resent packages and late replies are counted in the summary; download --verify reads back
    what was sent and fails on the first difference
  - SIGINT, SIGTERM and SIGHUP cancel a transfer: the register is disconnected, the port
    closed and no file of the set written
  - export: a name without an extension gets .xls; .xls, .xlsx and .csv choose the format, any
    other name is kept and written as .xls; a cell too long for the format is refused
  - --json: every line on stdout is a JSON object, the last one {"event":"result","ok",
    "exit","message"} (with "from", "to", "resent", "late", "names_cleaned" where they apply)
  - exit status 0 success; 1 the transfer failed, the port could not be opened or --verify
    found a difference; 2 a usage error or a file that cannot be read or written (also after
    the register has answered); 130 SIGINT, 128 + n for signal n)";

inline constexpr const char* kDownloadContract =
    R"(Without --from/--to the whole PLU table of the register model is sent. Refused before the
port is opened (exit 2): SET.PLU missing by its exact name, a missing SET.DEP (department),
SET.RCY (recycling), SET.Sign (fastsale) or SET.PAR (parameter, vat, header), a SET.PAR that is
empty or holds none of the keys of a chosen parameter, vat or header kind, and the first cells
the register cannot hold. The settings file is never written: the parameters, VAT rates and
header are read from SET.PAR. With --verify the kinds sent are read back over the range
afterwards; the first difference fails the command (exit 1).)";

inline constexpr const char* kUploadContract =
    R"(Without --from/--to the whole PLU table of the register model is read. Into an existing set
only the files of the kinds uploaded are written (a PLU range keeps the other rows of SET.PLU);
every other file stays byte for byte. Each file to write, and the settings file when the
parameters are uploaded, is tried before the port is opened (exit 2 naming the file).)";

}  // namespace plumgr::cli
