#pragma once
// What a transfer checks on the data file set before it opens the port, so that
// a mistake in a name never reaches the register or throws away what the
// register sent: the files a download sends from, and the files an upload will
// write. Each refusal is a UsageError naming the file.

#include <cstdint>
#include <string>
#include <vector>

namespace plumgr::cli {

// The command line's kind names, in the order of the kinds' bits.
const std::vector<std::string>& DownloadKindWords();
const std::vector<std::string>& UploadKindWords();

// "\"shop.PLU\" does not exist", naming a file in the same folder whose name
// differs only in letter case, as a set copied from another system often has.
std::string MissingFile(const std::string& path);

// Refuses a download whose set is missing what the chosen kinds are sent from:
// the .PLU file by its exact name (naming a file that differs only in letter
// case), .DEP, .RCY, .Sign, and a .PAR that holds none of the keys of a chosen
// parameter, VAT or header kind.
void CheckDownloadSources(const std::string& plu_file, std::uint8_t download_kinds);

// The files of the set (SetFile bits) an upload writes: those of the kinds
// uploaded, and those the set does not have yet. Every other file of an
// existing set is left as it is.
unsigned UploadTargets(const std::string& plu_file, std::uint8_t upload_kinds);

// Refuses an upload that could not write one of its files: the set's folder,
// each target, and the settings file when the parameters are uploaded.
void CheckUploadTargets(const std::string& plu_file, unsigned files, std::uint8_t upload_kinds,
                        const std::string& settings_path);

// Refuses a file that cannot be written (a missing folder, a read-only file or
// folder, a directory in its place) by writing a probe beside it.
void CheckWritable(const std::string& path);

}  // namespace plumgr::cli
