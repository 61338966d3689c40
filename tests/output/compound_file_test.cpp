// The compound document container around the workbook stream.

#include "output/compound_file.h"

#include <gtest/gtest.h>

#include "support/output_test_support.h"

namespace plumgr {
namespace {

using test::U16At;
using test::U32At;

std::string Pattern(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i)
    s[i] = static_cast<char>(i * 31 + 7);
  return s;
}

// What every container must satisfy, whatever the stream's size.
void CheckContainer(const std::string& stream) {
  std::optional<std::string> file = BuildCompoundFile(stream);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(U16At(*file, 24), 0x003E);
  EXPECT_EQ(U16At(*file, 26), 3);
  EXPECT_EQ(U16At(*file, 28), 0xFFFE);
  EXPECT_EQ(U16At(*file, 30), 9);
  EXPECT_EQ(U32At(*file, 40), 0u);
  EXPECT_EQ(U32At(*file, 56), 4096u);

  std::string error;
  auto cf = test::ReadCompoundFile(*file, &error);
  ASSERT_TRUE(cf.has_value()) << error;
  size_t padded = std::max<size_t>(stream.size(), 4096);
  size_t stream_sectors = (padded + 511) / 512;
  EXPECT_EQ(cf->StreamSize, padded);
  EXPECT_EQ(cf->Stream.substr(0, stream.size()), stream);
  EXPECT_EQ(cf->Stream.find_first_not_of('\0', stream.size()), std::string::npos);
  // The stream's chain runs through its sectors in order from sector 0.
  ASSERT_EQ(cf->StreamChain.size(), stream_sectors);
  for (size_t i = 0; i < stream_sectors; ++i)
    EXPECT_EQ(cf->StreamChain[i], i);
  EXPECT_EQ(cf->DirectorySector, stream_sectors);
  EXPECT_EQ(cf->Fat[cf->DirectorySector], kCfbEndOfChain);
  for (std::uint32_t s : cf->FatSectors)
    EXPECT_EQ(cf->Fat[s], kCfbFatSector);
  size_t used = stream_sectors + 1 + cf->FatSectors.size();
  EXPECT_EQ(file->size(), 512 * (1 + used));
  EXPECT_LT(used - cf->FatSectors.size(), cf->Fat.size());
  for (size_t i = used; i < cf->Fat.size(); ++i)
    EXPECT_EQ(cf->Fat[i], kCfbFreeSector);

  std::string_view dir = std::string_view(*file).substr(512 + 512 * cf->DirectorySector, 512);
  EXPECT_EQ(dir.substr(0, 20), std::string("R\0o\0o\0t\0 \0E\0n\0t\0r\0y\0", 20));
  EXPECT_EQ(U16At(dir, 64), 22);
  EXPECT_EQ(dir[66], 5);
  EXPECT_EQ(U32At(dir, 76), 1u);  // the workbook is the root's child
  EXPECT_EQ(U32At(dir, 116), kCfbEndOfChain);
  EXPECT_EQ(U16At(dir, 128 + 64), 18);  // "Workbook" and its terminator
  EXPECT_EQ(dir[128 + 66], 2);
  for (size_t entry = 2; entry < 4; ++entry)
    for (size_t link = 68; link < 80; link += 4)
      EXPECT_EQ(U32At(dir, 128 * entry + link), kCfbNoStream);
}

TEST(CompoundFileTest, SmallStreamIsPaddedToTheMiniStreamCutoff) {
  CheckContainer("BIFF");
}

TEST(CompoundFileTest, StreamOfWholeSectors) {
  CheckContainer(Pattern(512 * 20));
}

TEST(CompoundFileTest, StreamThatNeedsSeveralFatSectors) {
  // 300 sectors of stream, one directory sector: three FAT sectors.
  CheckContainer(Pattern(512 * 300 - 5));
  auto file = BuildCompoundFile(Pattern(512 * 300 - 5));
  EXPECT_EQ(U32At(*file, 44), 3u);
}

TEST(CompoundFileTest, FatThatWouldOverflowTheHeaderIsRefused) {
  // 109 FAT sectors describe 13952 sectors, their own included.
  EXPECT_TRUE(BuildCompoundFile(std::string(512 * (13952 - 110), 'x')).has_value());
  EXPECT_FALSE(BuildCompoundFile(std::string(512 * (13952 - 108), 'x')).has_value());
}

}  // namespace
}  // namespace plumgr
