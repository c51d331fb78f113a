// TokenList and ByteBuffer keep their own arrays: growth must keep every element, in order, also
// when what is appended lives in the array being grown.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"
#include "util/byte_buffer.h"
#include "util/token_list.h"

namespace test {
namespace {

std::vector<std::string> numbered(size_t count) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < count; ++i) texts.push_back("token-" + std::to_string(i));
  return texts;
}

// Counts around the first few capacities, so that appends cross every early growth step.
const size_t kCounts[] = {0, 1, 7, 8, 9, 16, 17, 1000};

TEST(TokenListTest, GrowthKeepsEveryTokenInOrder) {
  for (size_t count : kCounts) {
    SCOPED_TRACE(count);
    std::vector<std::string> texts = numbered(count);
    TokenList byCopy;
    TokenList byMove;
    TokenList byPieces;
    for (const std::string& text : texts) {
      CountedString token(text.c_str());
      byCopy.append(token);
      byMove.append(CountedString(text.c_str()));
      byPieces.appendAll(TokenList{token});  // one piece at a time, as expandEach does
    }
    EXPECT_EQ(toStrings(byCopy), texts);
    EXPECT_EQ(toStrings(byMove), texts);
    EXPECT_EQ(toStrings(byPieces), texts);
    EXPECT_EQ(byCopy.size(), count);
    EXPECT_EQ(byCopy.empty(), count == 0);
  }
}

TEST(TokenListTest, AppendingItsOwnTokensSurvivesGrowth) {
  for (size_t count : kCounts) {
    SCOPED_TRACE(count);
    std::vector<std::string> texts = numbered(count);
    TokenList list;
    for (const std::string& text : texts) list.append(CountedString(text.c_str()));
    std::vector<std::string> expected = texts;
    if (count > 0) {
      list.append(list[0]);  // a reference into the array that this append may move
      expected.push_back(texts[0]);
    }
    list.appendAll(list);
    TokenList copy(list);
    list.appendAll(std::move(list));
    std::vector<std::string> doubled = expected;
    doubled.insert(doubled.end(), expected.begin(), expected.end());
    EXPECT_EQ(toStrings(copy), doubled);
    std::vector<std::string> quadrupled = doubled;
    quadrupled.insert(quadrupled.end(), doubled.begin(), doubled.end());
    EXPECT_EQ(toStrings(list), quadrupled);
  }
}

TEST(TokenListTest, CopiesAreDeepAndMovesEmptyTheSource) {
  TokenList original{"a", "b c", ""};
  TokenList copy(original);
  TokenList assigned;
  assigned = original;
  EXPECT_EQ(copy, original);
  EXPECT_EQ(assigned, original);
  EXPECT_NE(copy[0].data(), original[0].data());  // its own blocks, not shared ones
  TokenList moved(std::move(copy));
  EXPECT_TRUE(copy.empty());
  EXPECT_EQ(moved, original);
  assigned = std::move(moved);
  EXPECT_TRUE(moved.empty());
  EXPECT_EQ(toStrings(assigned), (std::vector<std::string>{"a", "b c", ""}));
  moved.append("reused after the move");
  EXPECT_EQ(moved.size(), 1u);
}

TEST(TokenListTest, EqualityComparesEveryToken) {
  struct Case {
    std::vector<std::string> a, b;
    bool equal;
  };
  const Case cases[] = {
      {{}, {}, true},
      {{"a"}, {"a"}, true},
      {{"a"}, {"a", ""}, false},
      {{"a", "b"}, {"a", "c"}, false},
      {{"a", "b"}, {"b", "a"}, false},
      {{""}, {}, false},
  };
  for (const Case& c : cases) {
    TokenList a;
    TokenList b;
    for (const std::string& text : c.a) a.append(CountedString(text.c_str()));
    for (const std::string& text : c.b) b.append(CountedString(text.c_str()));
    EXPECT_EQ(a == b, c.equal) << testing::PrintToString(c.a) << " vs " << testing::PrintToString(c.b);
    EXPECT_EQ(a != b, !c.equal);
  }
}

TEST(ByteBufferTest, GrowthKeepsEveryByte) {
  // Pieces of various lengths, zero bytes among them, across several growth steps.
  for (size_t pieceLength : {size_t{1}, size_t{3}, size_t{63}, size_t{64}, size_t{65}, size_t{5000}}) {
    SCOPED_TRACE(pieceLength);
    ByteBuffer buffer;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
      std::string piece(pieceLength, static_cast<char>('a' + i % 26));
      piece[0] = static_cast<char>(i % 3 == 0 ? '\0' : piece[0]);
      if (i % 2 == 0) {
        buffer.appendBytes(piece.data(), static_cast<int32_t>(piece.size()));
      } else {
        for (char byte : piece) buffer.appendByte(byte);
      }
      expected += piece;
    }
    buffer.appendBytes("ignored", 0);
    EXPECT_EQ(buffer.size(), expected.size());
    EXPECT_EQ(toString(buffer.toCountedString()), expected);
  }
}

TEST(ByteBufferTest, ReserveAndMoveKeepTheBytes) {
  ByteBuffer buffer;
  buffer.appendString("kept");
  buffer.reserve(2);  // smaller than what it holds: nothing is lost
  buffer.reserve(1000);
  buffer.appendString(" and more");
  ByteBuffer moved(std::move(buffer));
  EXPECT_EQ(buffer.size(), 0u);
  EXPECT_TRUE(buffer.toCountedString().empty());
  EXPECT_EQ(toString(moved.toCountedString()), "kept and more");
  buffer = std::move(moved);
  EXPECT_EQ(toString(buffer.toCountedString()), "kept and more");
  buffer.appendByte('!');
  EXPECT_EQ(toString(buffer.toCountedString()), "kept and more!");
}

}  // namespace
}  // namespace test
