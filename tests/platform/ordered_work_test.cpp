#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

#include "platform/ordered_work.h"

namespace zorvane::platform {
namespace {

class OrderedWork : public ::testing::TestWithParam<unsigned> {
 protected:
  void SetUp() override { SetWorkThreads(GetParam()); }
  void TearDown() override { SetWorkThreads(0); }

  // Runs items 0 to count - 1, each giving its square, and keeps what was consumed in order.
  // The consumer stops after item `stopAt`; the producer throws at item `throwAt`.
  bool Run(std::size_t count, std::size_t stopAt = SIZE_MAX, std::size_t throwAt = SIZE_MAX) {
    consumed.clear();
    return ProduceInOrder<std::size_t>(
        count,
        [&](unsigned worker, std::size_t item) {
          if (worker >= WorkThreads()) throw std::logic_error("no such worker");
          if (item == throwAt) throw std::runtime_error("item " + std::to_string(item));
          return item * item;
        },
        [&](std::size_t item, std::size_t& square) {
          consumed.push_back(square == item * item ? item : SIZE_MAX);
          return item != stopAt;
        });
  }
  static std::vector<std::size_t> Items(std::size_t count) {
    std::vector<std::size_t> items(count);
    std::iota(items.begin(), items.end(), 0);
    return items;
  }

  std::vector<std::size_t> consumed;
};

// Every item once, in order, with its own result; a consumer that stops ends the run there;
// a producer's exception comes out when its item is due, after every item before it.
TEST_P(OrderedWork, ConsumesEachResultInOrder) {
  for (const std::size_t count : {0u, 1u, 15u, 16u, 17u, 1000u}) {
    EXPECT_TRUE(Run(count));
    EXPECT_EQ(consumed, Items(count)) << count;
  }
  for (const std::size_t stopAt : {0u, 15u, 16u, 600u}) {
    EXPECT_FALSE(Run(1000, stopAt));
    EXPECT_EQ(consumed, Items(stopAt + 1)) << stopAt;
  }
  for (const std::size_t throwAt : {0u, 17u, 999u}) {
    EXPECT_THROW(
        {
          try {
            Run(1000, SIZE_MAX, throwAt);
          } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "item " + std::to_string(throwAt));
            throw;
          }
        },
        std::runtime_error);
    EXPECT_EQ(consumed, Items(throwAt)) << throwAt;
  }
}

INSTANTIATE_TEST_SUITE_P(Threads, OrderedWork, ::testing::Values(1u, 2u, 5u));

}  // namespace
}  // namespace zorvane::platform
