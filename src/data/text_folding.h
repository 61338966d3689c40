#pragma once
// Column headers are matched to the table titles the way an operator reads
// them: without regard to case, accents or the blanks around and between words,
// so "CENA JEDN." finds "Cena jedn." and "Dzial" finds "Dział".

#include <string>
#include <string_view>

namespace plumgr {

// Lower case, Latin letters without their accents (ł is l, ß is s), blanks
// trimmed and runs of blanks made one space.
std::u16string FoldForMatching(std::u16string_view text);

}  // namespace plumgr
