// What the device does with bytes that are not the requests it understands.
#include <gmock/gmock.h>

#include "link/command_frame.h"
#include "sim_fixture.h"

namespace devsim::test {
namespace {

const auto kInquiry = Bytes({0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC0});

class InputTest : public SimTest {
 protected:
  // Writes straight to the model, as a handle would.
  size_t write(const std::vector<uint8_t>& bytes) { return sim.model.write(bytes, now()).accepted; }

  // Every answer byte ready within `ms`.
  std::vector<uint8_t> readAll(uint32_t ms = 1000) {
    fake.clock.sleep(ms);
    std::vector<uint8_t> out(65536);
    out.resize(sim.model.take(out.data(), out.size(), now()).count);
    return out;
  }
};

TEST_F(InputTest, GarbageAndBrokenFramesAreSkippedAndTheNextRequestIsAnswered) {
  auto bytes = Bytes({0x00, 0x41, 0x42});          // no escape
  auto more = Bytes({0x1B, 0x77, 0x00, 0x04});     // not a frame class
  auto tooLong = Bytes({0x1B, 0xA4, 0xFF, 0xFF});  // longer than any frame
  auto wrongLength = Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC0, 0x00});
  auto unknownRecord = Bytes({0x1B, 0xA4, 0x00, 0x05, 0x50, 0xE0, 0x82, 0xC1, 0x44});
  auto badSignature = Bytes({0x1B, 0xA4, 0x00, 0x04, 0x51, 0xE0, 0x82, 0xC0});
  auto unknownOperation = Bytes({0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC7});
  auto noRecord = Bytes({0x1B, 0xA4, 0x00, 0x04, 0x50, 0xE0, 0x82, 0xC1});
  for (const auto& part : {more, tooLong, wrongLength, unknownRecord, badSignature,
                           unknownOperation, noRecord, kInquiry})
    bytes.insert(bytes.end(), part.begin(), part.end());
  EXPECT_EQ(write(bytes), bytes.size());
  EXPECT_EQ(requests().size(), 1u);
  EXPECT_EQ(requests()[0], kInquiry);
  EXPECT_EQ(readAll().size(), 10u);  // one answer: the inquiry's
  EXPECT_THAT(seen[Traffic::kRejected], testing::Contains(wrongLength));
  EXPECT_THAT(seen[Traffic::kRejected], testing::Contains(unknownRecord));
  EXPECT_THAT(seen[Traffic::kRejected], testing::Contains(noRecord));
}

TEST_F(InputTest, FrameSplitOverWritesIsAssembled) {
  for (uint8_t byte : kInquiry)
    EXPECT_EQ(write({byte}), 1u);
  EXPECT_EQ(requests().size(), 1u);
  EXPECT_EQ(readAll().size(), 10u);
}

TEST_F(InputTest, PartialFrameIsForgottenWhenTheRestComesTooLate) {
  write({0x1B, 0xA4, 0x00, 0x05, 0x50});
  fake.clock.sleep(kFrameGapMs + 1);
  write(kInquiry);
  EXPECT_EQ(requests().size(), 1u);
  EXPECT_EQ(requests()[0], kInquiry);
  EXPECT_EQ(seen[Traffic::kRejected].size(), 1u);
}

TEST_F(InputTest, AnswersNobodyReadsAreBounded) {
  for (size_t i = 0; i < kMaxPendingAnswers + 5; ++i)
    write(kInquiry);
  EXPECT_EQ(readAll().size(), 10u * kMaxPendingAnswers);
  EXPECT_FALSE(sim.model.msUntilReady(now()));
}

TEST_F(InputTest, PhonebookWriteWithAWrongRecordCountIsIgnored) {
  std::vector<uint8_t> frame(10 + 69 * 2, 0x20);
  vornik::PutRecordHeader(frame.data(), frame.size(), vornik::kOpWriteRecord, 0x42);
  frame[9] = 3;  // three records announced, two sent
  frame[10] = 1;
  write(frame);
  EXPECT_TRUE(requests().empty());
  EXPECT_TRUE(readAll().empty());
  EXPECT_EQ(sim.model.revision(), 0u);
}

}  // namespace
}  // namespace devsim::test
