// The register's side of every data package, over a pseudo-terminal as the PC
// meets it: what each request is answered with, what each package sent leaves
// in the register, and that a download read back returns what was sent.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <optional>
#include <vector>

#include "sim/ecr_simulator.h"
#include "sim/plu_handlers.h"
#include "sim/state_file.h"
#include "sim/support/pc_port.h"
#include "transfer/plu_record.h"
#include "transfer/sales_records.h"

namespace plumgr::sim {
namespace {

using namespace std::chrono_literals;
using testing::Block;
using testing::PcPort;
using testing::StatusRequest;

constexpr auto kAnswerWait = 2000ms;

std::vector<std::uint8_t> Pattern(std::size_t size, int seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(seed + 7 * i);
  return bytes;
}

// A record as the compared download sends it: barcode 00 00 00 00 00 00 n,
// a name and zero filler.
PluRecordBytes Record(std::uint8_t n, const std::string& name) {
  PluRecordBytes record{};
  record[6] = n;
  std::copy(name.begin(), name.end(), record.begin() + 7);
  record[25 + 3] = n;  // price
  return record;
}

std::vector<std::uint8_t> PluPackage(
    const std::vector<std::pair<std::uint32_t, PluRecordBytes>>& slots) {
  std::vector<std::uint8_t> data(kPackageDataSize, 0xEE);  // bytes no slot uses keep old junk
  data[0] = static_cast<std::uint8_t>(slots.size());
  for (std::size_t s = 0; s < slots.size(); ++s) {
    std::size_t at = 1 + kPluSlotSize * s;
    for (int i = 0; i < 4; ++i)
      data[at + i] = static_cast<std::uint8_t>(slots[s].first >> (8 * i));
    std::copy(slots[s].second.begin(), slots[s].second.end(), data.begin() + at + 4);
  }
  return data;
}

std::vector<std::uint8_t> Bytes(const PackageBytes& data, std::size_t begin, std::size_t size) {
  return {data.begin() + begin, data.begin() + begin + size};
}

class DataTest : public ::testing::Test {
 protected:
  void Start(RegisterMemory memory = {}, RegisterStatus status = {}) {
    SimConfig config;
    config.LineRate = false;
    config.Memory = std::move(memory);
    config.Status = status;
    simulator_ = std::make_unique<EcrSimulator>(std::move(config));
    pc_ = std::make_unique<PcPort>(simulator_->Start(), 9600);
  }

  std::optional<std::uint8_t> Send(std::uint8_t type, std::uint16_t number,
                                   const std::vector<std::uint8_t>& data) {
    pc_->Send(Block(type, number, data));
    return pc_->ReadReply(kAnswerWait);
  }

  std::optional<PackageBytes> Request(std::uint8_t type, std::uint16_t number,
                                      const std::vector<std::uint8_t>& data = {}) {
    PackageBlock request = Block(type, number, data);
    pc_->Send(request);
    std::optional<UnpackedFrame> answer = pc_->ReadAnswer(request, kAnswerWait);
    if (!answer || answer->ChecksumError) return std::nullopt;
    PackageBytes bytes;
    std::copy(answer->Block.Data().begin(), answer->Block.Data().end(), bytes.begin());
    return bytes;
  }

  // A request the register refuses: NAK instead of a frame.
  std::optional<std::uint8_t> Refusal(std::uint8_t type, std::uint16_t number) {
    pc_->Send(Block(type, number));
    return pc_->ReadReply(kAnswerWait);
  }

  std::unique_ptr<EcrSimulator> simulator_;
  std::unique_ptr<PcPort> pc_;
};

TEST_F(DataTest, PluDownloadReadsBackThroughUploadComparisonAndStatus) {
  Start();
  PluRecordBytes a = Record(1, "APPLE"), b = Record(2, "BREAD"), c = Record(3, "CHEESE");
  PluRecordBytes d = Record(4, "DATES");
  ASSERT_EQ(Send(13, 0, PluPackage({{0, a}, {1, b}, {2, c}})), kAck);
  ASSERT_EQ(Send(13, 1, PluPackage({{5, d}})), kAck) << "one valid slot; the rest is junk";

  std::optional<PackageBytes> upload = Request(11, 0);
  ASSERT_TRUE(upload);
  EXPECT_EQ(Bytes(*upload, 0, 64), std::vector<std::uint8_t>(a.begin(), a.end()));
  EXPECT_EQ(Bytes(*upload, 128, 64), std::vector<std::uint8_t>(c.begin(), c.end()));
  EXPECT_EQ(Bytes(*upload, 192, 64), std::vector<std::uint8_t>(64, 0xFF)) << "empty slot";
  upload = Request(11, 1);
  ASSERT_TRUE(upload);
  EXPECT_EQ(Bytes(*upload, 0, 64), std::vector<std::uint8_t>(64, 0xFF));
  EXPECT_EQ(Bytes(*upload, 64, 64), std::vector<std::uint8_t>(d.begin(), d.end()));

  std::optional<PackageBytes> compare = Request(87, 0);
  ASSERT_TRUE(compare);
  EXPECT_EQ(Bytes(*compare, 64, 64), std::vector<std::uint8_t>(b.begin(), b.end()));
  EXPECT_EQ(Bytes(*compare, 192, 64), std::vector<std::uint8_t>(64, 0x00))
      << "an empty slot inside the table reads as an empty name";
  compare = Request(87, 1);
  ASSERT_TRUE(compare);
  EXPECT_EQ(Bytes(*compare, 0, 64), std::vector<std::uint8_t>(64, 0x00))
      << "an empty first slot must not read as a jump";
  EXPECT_EQ(Bytes(*compare, 64, 64), std::vector<std::uint8_t>(d.begin(), d.end()));
  compare = Request(87, 2);
  ASSERT_TRUE(compare);
  EXPECT_EQ(Bytes(*compare, 0, 256), std::vector<std::uint8_t>(256, 0xFF)) << "end marker";

  std::optional<PackageBytes> status = Request(0, 0);
  ASSERT_TRUE(status);
  EXPECT_EQ(Bytes(*status, 3, 4), (std::vector<std::uint8_t>{4, 0, 0, 0}));
  EXPECT_EQ(Request(11, kPluPackages - 1).has_value(), true);
  EXPECT_EQ(Refusal(11, kPluPackages), kNak) << "beyond the 10000 slots";
}

TEST_F(DataTest, PluDownloadEmptiesSlotsAndRefusesBadPackagesWhole) {
  RegisterMemory memory;
  StorePlu(memory, 7, Record(7, "SEVEN"));
  StorePlu(memory, 8, Record(8, "EIGHT"));
  Start(memory);
  PluRecordBytes empty;
  empty.fill(0xFF);
  EXPECT_EQ(Send(13, 0, PluPackage({{7, empty}})), kAck);
  EXPECT_EQ(Send(13, 1, PluPackage({{8, Record(9, "NINE")}, {10000, Record(1, "X")}})), kNak)
      << "an index outside the table";
  EXPECT_EQ(Send(13, 2, PluPackage({})), kNak) << "no slot";
  std::vector<std::uint8_t> four = PluPackage({{1, Record(1, "A")}});
  four[0] = 4;
  EXPECT_EQ(Send(13, 3, four), kNak) << "four slots do not fit";

  RegisterMemory after = simulator_->Memory();
  EXPECT_FALSE(PluPresent(after.Plus[7]));
  EXPECT_EQ(after.Plus[8], Record(8, "EIGHT")) << "a refused package stores nothing";
  EXPECT_FALSE(PluPresent(after.Plus[1]));
  EXPECT_EQ(CountPlus(after), 1u);
}

// Reads the comparison table as the PC does: follow jumps, skip packages
// without a target, stop at the end marker; the records in order.
std::vector<PluRecordBytes> ReadLikeThePc(const RegisterMemory& memory, std::vector<int>& asked) {
  std::vector<PluRecordBytes> records;
  int q = 0;
  for (int guard = 0; guard < 3000; ++guard) {
    asked.push_back(q);
    PackageBytes data = ComparisonPackage(memory, q);
    if (std::all_of(data.begin(), data.end(), [](std::uint8_t b) { return b == 0xFF; })) break;
    if (std::all_of(data.begin(), data.begin() + 7, [](std::uint8_t b) { return b == 0xFF; })) {
      q = data[7] == 0xFF || data[8] == 0xFF ? q + 1 : data[7] * 256 + data[8];
      continue;
    }
    for (int k = 0; k < 4; ++k) {
      PluRecordBytes record;
      std::copy_n(data.begin() + 64 * k, 64, record.begin());
      if (record[7] != 0) records.push_back(record);
    }
    ++q;
  }
  return records;
}

TEST_F(DataTest, ComparisonReadJumpsOverGapsAndEndsWithTheMarker) {
  RegisterMemory memory;
  StorePlu(memory, 0, Record(1, "FIRST"));
  StorePlu(memory, 41, Record(2, "PACKAGE10"));
  StorePlu(memory, 1020, Record(3, "PACKAGE255"));  // 255 cannot be named as a target
  StorePlu(memory, 1024, Record(4, "PACKAGE256"));
  Start(memory);

  std::optional<PackageBytes> jump = Request(87, 1);
  ASSERT_TRUE(jump);
  EXPECT_EQ(Bytes(*jump, 0, 9),
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x0A}));
  jump = Request(87, 11);
  ASSERT_TRUE(jump);
  EXPECT_EQ(Bytes(*jump, 7, 2), (std::vector<std::uint8_t>{0x00, 0xFE}))
      << "to the package before 255, which then lets the PC go on";
  jump = Request(87, 254);
  ASSERT_TRUE(jump);
  EXPECT_EQ(Bytes(*jump, 0, 9), std::vector<std::uint8_t>(9, 0xFF)) << "a jump without target";
  EXPECT_NE((*jump)[9], 0xFF) << "and not the end marker";
  std::optional<PackageBytes> data = Request(87, 10);
  ASSERT_TRUE(data);
  EXPECT_EQ(Bytes(*data, 64, 64),
            std::vector<std::uint8_t>(memory.Plus[41].begin(), memory.Plus[41].end()));
  for (int q : {257, kPluPackages, 65535}) {
    std::optional<PackageBytes> end = Request(87, static_cast<std::uint16_t>(q));
    ASSERT_TRUE(end) << q;
    EXPECT_TRUE(std::all_of(end->begin(), end->end(), [](std::uint8_t b) { return b == 0xFF; }))
        << q;
  }

  std::vector<int> asked;
  std::vector<PluRecordBytes> read = ReadLikeThePc(memory, asked);
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(read[2], memory.Plus[1020]);
  EXPECT_EQ(asked, (std::vector<int>{0, 1, 10, 11, 254, 255, 256, 257}));

  RegisterMemory empty;
  asked.clear();
  EXPECT_TRUE(ReadLikeThePc(empty, asked).empty());
  EXPECT_EQ(asked, std::vector<int>{0}) << "an empty table ends at once";
}

TEST_F(DataTest, SalesRecordsStreamAcrossPackagesAndCountInTheStatus) {
  RegisterMemory memory;
  for (int r = 0; r < 16; ++r) {
    SalesRecordBytes record;
    std::vector<std::uint8_t> bytes = Pattern(kSalesRecordSize, r * 17 * 7);
    std::copy(bytes.begin(), bytes.end(), record.begin());
    memory.Sales.push_back(record);
  }
  StorePlu(memory, 3, Record(3, "X"));
  Start(memory);
  std::optional<PackageBytes> first = Request(8, 0);
  std::optional<PackageBytes> second = Request(8, 1);
  ASSERT_TRUE(first && second);
  std::vector<std::uint8_t> stream(first->begin(), first->end());
  stream.insert(stream.end(), second->begin(), second->end());
  EXPECT_EQ(std::vector<std::uint8_t>(stream.begin(), stream.begin() + 272), Pattern(272, 0))
      << "the sixteenth record starts at byte 255 of the first package";
  EXPECT_TRUE(
      std::all_of(stream.begin() + 272, stream.end(), [](std::uint8_t b) { return b == 0; }));

  std::optional<PackageBytes> status = Request(0, 0);
  ASSERT_TRUE(status);
  EXPECT_EQ(Bytes(*status, 3, 8), (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 16}));
  simulator_->SetStatus({2, true, 3000, 5});
  status = Request(0, 0);
  ASSERT_TRUE(status);
  EXPECT_EQ(Bytes(*status, 3, 8), (std::vector<std::uint8_t>{0xB8, 0x0B, 0, 0, 0, 0, 0, 5}))
      << "counts set in the status win";
}

TEST_F(DataTest, TablesSentReadBackAsSent) {
  Start();
  // Departments: 16 records, two packages.
  for (std::uint16_t n = 0; n < 2; ++n)
    ASSERT_EQ(Send(12, n, Pattern(256, n)), kAck);
  EXPECT_EQ(Send(12, 2, Pattern(256, 2)), kNak) << "only 16 departments";
  for (std::uint16_t n = 0; n < 2; ++n) {
    std::optional<PackageBytes> read = Request(10, n);
    ASSERT_TRUE(read);
    EXPECT_EQ(Bytes(*read, 0, 256), Pattern(256, n));
  }
  EXPECT_EQ(Refusal(10, 2), kNak);

  // Recycling: seven packages, the last holding 64 bytes.
  for (std::uint16_t n = 0; n < 7; ++n)
    ASSERT_EQ(Send(4, n, Pattern(256, 40 + n)), kAck);
  EXPECT_EQ(Send(4, 7, Pattern(256, 0)), kNak);
  std::optional<PackageBytes> recycling = Request(3, 5);
  ASSERT_TRUE(recycling);
  EXPECT_EQ(Bytes(*recycling, 0, 256), Pattern(256, 45));
  recycling = Request(3, 6);
  ASSERT_TRUE(recycling);
  EXPECT_EQ(Bytes(*recycling, 0, 64), Pattern(64, 46));
  EXPECT_EQ(Bytes(*recycling, 64, 192), std::vector<std::uint8_t>(192, 0));
  EXPECT_EQ(Refusal(3, 7), kNak);

  // Parameters: 768 bytes written, the first 512 read.
  for (std::uint16_t n = 0; n < 3; ++n)
    ASSERT_EQ(Send(1, n, Pattern(256, 80 + n)), kAck);
  EXPECT_EQ(Send(1, 3, Pattern(256, 0)), kNak);
  for (std::uint16_t n = 0; n < 2; ++n) {
    std::optional<PackageBytes> read = Request(5, n);
    ASSERT_TRUE(read);
    EXPECT_EQ(Bytes(*read, 0, 256), Pattern(256, 80 + n));
  }
  EXPECT_EQ(Refusal(5, 2), kNak) << "the register delivers 512 bytes only";

  // Fast-sale buttons: one package.
  std::vector<std::uint8_t> buttons(256, 0);
  std::vector<std::uint8_t> entry{0x03, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x23, 0x45};
  std::copy(entry.begin(), entry.end(), buttons.begin() + 9);
  ASSERT_EQ(Send(98, 0, buttons), kAck);
  EXPECT_EQ(Send(98, 1, buttons), kNak);
  std::optional<PackageBytes> fast = Request(97, 0);
  ASSERT_TRUE(fast);
  EXPECT_EQ(Bytes(*fast, 0, 256), buttons);
  EXPECT_EQ(Refusal(97, 1), kNak);

  RegisterMemory memory = simulator_->Memory();
  EXPECT_EQ(std::vector<std::uint8_t>(memory.Parameters.begin() + 512, memory.Parameters.end()),
            Pattern(256, 82));
}

TEST_F(DataTest, ReportComesInPiecesEndedByANulPiece) {
  RegisterMemory memory;
  ASSERT_TRUE(SetReport(memory, std::string(300, 'R')));
  EXPECT_FALSE(SetReport(memory, std::string("AB\0C", 4))) << "a NUL would cut the report";
  Start(memory);
  std::optional<PackageBytes> piece = Request(7, 0);
  ASSERT_TRUE(piece);
  EXPECT_EQ(Bytes(*piece, 0, 256), std::vector<std::uint8_t>(256, 'R'));
  piece = Request(7, 1);
  ASSERT_TRUE(piece);
  EXPECT_EQ(Bytes(*piece, 0, 44), std::vector<std::uint8_t>(44, 'R'));
  EXPECT_EQ((*piece)[44], 0);
  piece = Request(7, 2);
  ASSERT_TRUE(piece);
  EXPECT_EQ(Bytes(*piece, 0, 256), std::vector<std::uint8_t>(256, 0));

  // A report as long as the PC ever reads fills all 564 packages without a NUL.
  RegisterMemory full;
  std::string text(kReportLimit, ' ');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char>('A' + i % 26);
  ASSERT_TRUE(SetReport(full, text));
  simulator_->SetMemory(full);
  piece = Request(7, 563);
  ASSERT_TRUE(piece);
  EXPECT_EQ(std::string(piece->begin(), piece->end()), text.substr(563 * 256));
  piece = Request(7, 564);
  ASSERT_TRUE(piece);
  EXPECT_EQ((*piece)[0], 0);
}

TEST_F(DataTest, MemoryPagesAndFontPackages) {
  RegisterMemory memory;
  PackageBytes ram{};
  ram[0] = 0x41;
  ram[1] = 0x42;
  memory.Pages[{MemoryBank::Ram, 0x1F}] = ram;
  Start(memory);
  std::optional<PackageBytes> page = Request(14, 16, {0x1F, 0x00, 0x10});
  ASSERT_TRUE(page);
  EXPECT_EQ(*page, ram);
  page = Request(14, 16, {0x20, 0x01, 0x00});
  ASSERT_TRUE(page);
  EXPECT_EQ(*page, FillerPage({MemoryBank::Rom, 0x0120}));
  EXPECT_EQ((*page)[1], 0x21) << "low byte of page + i";
  pc_->Send(Block(14, 16, {0x00, 0x00, 0x20}));
  EXPECT_EQ(pc_->ReadReply(kAnswerWait), kNak) << "no third kind of memory";

  ASSERT_EQ(Send(2, 0, Pattern(256, 1)), kAck);
  ASSERT_EQ(Send(2, 1, Pattern(256, 2)), kAck);
  ASSERT_EQ(Send(2, 1, Pattern(256, 3)), kAck) << "a repeated package replaces its piece";
  RegisterMemory after = simulator_->Memory();
  ASSERT_EQ(after.Fonts.size(), 2u);
  EXPECT_EQ(Bytes(after.Fonts[1], 0, 256), Pattern(256, 3));
}

TEST(RegisterMemoryTest, TestItemsReadAsThePcDecodesThem) {
  RegisterMemory memory;
  FillTestPlus(memory, 17, 3);
  EXPECT_EQ(CountPlus(memory), 17u);
  TPLUStruct item = DecodeComparisonRecord(memory.Plus[16], 16, 3);
  EXPECT_EQ(item.Barcode, "2000000000017");
  EXPECT_EQ(item.Name, "ITEM 17");
  EXPECT_DOUBLE_EQ(item.Price, 17.0);
  EXPECT_EQ(item.Dept, 1) << "departments go round after 16";
  EXPECT_DOUBLE_EQ(item.Stocks, 17.0);
  std::vector<std::uint8_t> stream;
  for (const SalesRecordBytes& sale : memory.Sales)
    stream.insert(stream.end(), sale.begin(), sale.end());
  std::vector<PluSalesRecord> sales = DecodeSalesRecords(stream, 17);
  ASSERT_EQ(sales.size(), 17u);
  EXPECT_EQ(sales[2].Barcode, 2000000000003);
  EXPECT_EQ(sales[2].QuantityThousandths, 3000);
  EXPECT_EQ(sales[2].Amount, 9000u) << "3 sold at 3.000";
}

RegisterImage FullImage() {
  RegisterImage image;
  image.Status.PriceDecimals = 3;
  image.Status.ReportsCleared = false;
  FillTestPlus(image.Memory, 25, 3);
  StorePlu(image.Memory, 9999, Record(9, "LAST"));
  std::vector<std::uint8_t> bytes = Pattern(1600, 5);
  std::copy_n(bytes.begin(), image.Memory.Departments.size(), image.Memory.Departments.begin());
  std::copy(bytes.begin(), bytes.end(), image.Memory.Recycling.begin());
  image.Memory.Recycling[0] = 0;  // a record with zeros and data mixed
  std::copy_n(Pattern(768, 9).begin(), 700, image.Memory.Parameters.begin());
  image.Memory.FastSale[255] = 1;
  EXPECT_TRUE(SetReport(image.Memory, "Report\r\nline two\xA5\r\n" + std::string(200, '-')));
  image.Memory.Pages[{MemoryBank::Rom, 65535}] = PackageBytes{};
  image.Memory.Fonts[3][0] = 0x80;
  return image;
}

TEST(StateFileTest, RoundTripsExactly) {
  RegisterImage image = FullImage();
  std::string text = StateText(image);
  RegisterImage read;
  ASSERT_EQ(ParseStateText(text, read), std::nullopt);
  EXPECT_EQ(read.Memory, image.Memory);
  EXPECT_EQ(read.Status.PriceDecimals, 3);
  EXPECT_FALSE(read.Status.ReportsCleared);
  EXPECT_EQ(StateText(read), text);
  EXPECT_NE(text.find("plu 9999 000000000000094C415354"), std::string::npos) << text.substr(0, 300);

  RegisterImage empty;
  EXPECT_EQ(StateText(empty), "ecrsim-state 1\nprice-decimals 2\nreports-cleared yes\n")
      << "only what is not empty is written";

  std::string crlf = "ecrsim-state 1\r\n# prepared by hand\r\n\r\nreport 414243\r\nreport 44\r\n";
  ASSERT_EQ(ParseStateText(crlf, read), std::nullopt);
  EXPECT_EQ(read.Memory.Report, "ABCD");
}

TEST(StateFileTest, BadLinesAreNamedAndChangeNothing) {
  RegisterImage image = FullImage();
  RegisterImage before = image;
  const std::pair<const char*, const char*> cases[] = {
      {"plu 1 00", "line 2: expected 64 bytes"},
      {"plu 10000 ", "line 2: plu takes 2 fields"},
      {"department 17 00", "line 2: department number must be 1 to 16"},
      {"parameters 760 0000000000000000AA", "line 2: parameters bytes must lie inside"},
      {"report 410042", "line 2: a report holds no NUL"},
      {"page rum 1 00", "line 2: page memory must be rom or ram"},
      {"sale XY", "line 2: expected 17 bytes"},
      {"colour blue", "line 2: unknown item \"colour\""},
  };
  for (const auto& [line, error] : cases) {
    std::optional<std::string> result =
        ParseStateText(std::string("ecrsim-state 1\n") + line, image);
    ASSERT_TRUE(result) << line;
    EXPECT_EQ(result->rfind(error, 0), 0u) << *result;
  }
  EXPECT_TRUE(ParseStateText("ecrsim-state 2\n", image));
  EXPECT_TRUE(ParseStateText("", image));
  EXPECT_EQ(image.Memory, before.Memory);
}

TEST_F(DataTest, StateSavedWhileRunningHoldsWhatTheLineBrought) {
  Start();
  ASSERT_EQ(Send(13, 0, PluPackage({{41, Record(42, "ANSWER")}})), kAck);
  ASSERT_EQ(Send(98, 0, Pattern(256, 4)), kAck);
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("ecrsim_state_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "after.state").string();
  ASSERT_EQ(simulator_->SaveState(path), std::nullopt);
  RegisterImage loaded;
  ASSERT_EQ(LoadStateFile(path, loaded), std::nullopt);
  EXPECT_EQ(loaded.Memory, simulator_->Memory());
  EXPECT_TRUE(PluPresent(loaded.Memory.Plus[41]));
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  std::optional<std::string> error = simulator_->SaveState((dir / "no" / "such.state").string());
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("no/such.state"), std::string::npos) << *error;
  error = LoadStateFile((dir / "missing.state").string(), loaded);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("missing.state"), std::string::npos) << *error;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace plumgr::sim
