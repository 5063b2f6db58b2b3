// The request queue is bounded: a producer faster than its consumer waits for
// room instead of piling items up.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "BlockingQueue.h"

namespace {

TEST(BoundedQueue, NoBatchHoldsMoreThanTheBoundsAndNothingIsLostOrReordered) {
    constexpr std::size_t kMostItems = 4;
    constexpr std::size_t kMostBytes = 100;
    BlockingQueue<std::string> queue(kMostItems, kMostBytes);
    std::vector<std::string> sent;
    for (int i = 0; i < 200; ++i)
        sent.push_back(std::to_string(i) + std::string(static_cast<std::size_t>(i * 7 % 60), '.'));
    std::thread producer([&] {
        for (const std::string& item : sent) queue.pushWhenRoom(item, item.size());
    });

    std::vector<std::string> received;
    std::vector<std::string> batch;
    while (received.size() < sent.size() && queue.waitAndTakeAll(batch) == BlockingQueue<std::string>::Wait::Taken) {
        std::size_t bytes = 0;
        for (const std::string& item : batch) bytes += item.size();
        EXPECT_LE(batch.size(), kMostItems);
        EXPECT_LE(bytes, kMostBytes);
        received.insert(received.end(), batch.begin(), batch.end());
    }
    producer.join();
    EXPECT_EQ(received, sent);
}

TEST(BoundedQueue, AnItemLargerThanTheByteBoundStillEntersAnEmptyQueue) {
    BlockingQueue<std::string> queue(4, 10);
    EXPECT_EQ(queue.pushWhenRoom(std::string(50, 'x'), 50), 1u);
    std::vector<std::string> batch;
    EXPECT_EQ(queue.waitAndTakeAll(batch), BlockingQueue<std::string>::Wait::Taken);
    EXPECT_EQ(batch, std::vector<std::string>{std::string(50, 'x')});
}

TEST(BoundedQueue, ClosingReleasesAProducerThatWaitsForRoom) {
    BlockingQueue<std::string> queue(1, 1000);
    ASSERT_EQ(queue.pushWhenRoom("first", 5), 1u);
    uint64_t second = 99;
    std::thread producer([&] { second = queue.pushWhenRoom("second", 6); });
    // Time for the producer to start waiting; it must be let go either way.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    queue.close();
    producer.join();
    EXPECT_EQ(second, 0u);
}

}  // namespace
