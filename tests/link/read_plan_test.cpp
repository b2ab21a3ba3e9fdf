#include <gtest/gtest.h>

#include <numeric>

#include "link/read_plan.h"

namespace zel {

void PrintTo(const PlannedRead& read, std::ostream* out) {
    *out << callName(read.call) << "(" << read.argument << ")";
}

namespace {

constexpr ZelCall One = ZelCall::GetRegister;
constexpr ZelCall Sixteen = ZelCall::GetRegister16;
constexpr ZelCall Fifty = ZelCall::GetRegister50;

std::vector<int32_t> span(int32_t first, int32_t last) {
    std::vector<int32_t> numbers(static_cast<size_t>(last - first + 1));
    std::iota(numbers.begin(), numbers.end(), first);
    return numbers;
}

TEST(ReadPlanTest, FewestBytesOnTheLine) {
    std::vector<int32_t> scattered = {1};
    for (int32_t n : span(1001, 1010)) scattered.push_back(n);
    struct Case {
        const char* what;
        std::vector<int32_t> registers;
        std::vector<PlannedRead> expected;
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"one register", {7}, {{One, 7}}},
        // Two singles cost 120 bytes, a block of sixteen 122.
        {"two close by", {5, 7}, {{One, 5}, {One, 7}}},
        {"three close by", {5, 7, 9}, {{Sixteen, 5}}},
        {"across a block of fifty's edge", span(48, 52), {{Sixteen, 48}}},
        {"forty rows", span(1, 40), {{Fifty, 1}}},
        {"a row far from the rest", scattered, {{One, 1}, {Sixteen, 1001}}},
        {"three far apart in one block of fifty", {1, 20, 40}, {{One, 1}, {One, 20}, {One, 40}}},
        {"a page past the first block", span(101, 150), {{Fifty, 3}}},
        // Blocks of fifty end at register 1000.
        {"a page past the blocks of fifty", span(8001, 8040),
         {{Sixteen, 8001}, {Sixteen, 8017}, {Sixteen, 8033}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(planReads(c.registers, {}), c.expected);
    }
}

TEST(ReadPlanTest, RefusedBlocksAndBlocksOffLeaveSingles) {
    const std::vector<int32_t> registers = {5, 7, 9};
    const std::vector<PlannedRead> singles = {{One, 5}, {One, 7}, {One, 9}};
    EXPECT_EQ(planReads(registers, {false, {}}), singles);
    const auto refusesSixteenFrom5 = [](const PlannedRead& r) {
        return r == PlannedRead{Sixteen, 5};
    };
    // The block of fifty around them would cost more than the singles.
    EXPECT_EQ(planReads(registers, {true, refusesSixteenFrom5}), singles);
    const auto refusesAllBlocks = [](const PlannedRead& r) { return r.call != One; };
    EXPECT_EQ(planReads(span(1, 40), {true, refusesAllBlocks}).size(), 40u);
}

}  // namespace
}  // namespace zel
