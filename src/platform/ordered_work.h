#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zorvane::platform {

// How many threads long work runs on: as many as the machine has cores (at most 8), unless set.
unsigned WorkThreads();
// Sets that number for the rest of the run; 0 goes back to the machine's.
void SetWorkThreads(unsigned threads);

// Runs produce(worker, i) for every i below `count` on WorkThreads() threads (`worker` numbers
// the thread, from 0, for state of its own), and consume(i, result) on the calling thread, in
// the order of i, so that what the results make is the same on any number of threads. The
// producers keep at most a few batches of items per thread ahead of the consumer, so memory
// stays bounded.
// Stops when consume returns false, and returns false then. An exception that produce throws
// is thrown again by this call when the consumer reaches that item; one that consume throws
// goes out as well. With one thread everything runs on the calling thread.
template <class Result>
bool ProduceInOrder(std::size_t count,
                    const std::function<Result(unsigned worker, std::size_t item)>& produce,
                    const std::function<bool(std::size_t item, Result& result)>& consume);

// ---------------------------------------------------------------------------------------------

template <class Result>
bool ProduceInOrder(std::size_t count,
                    const std::function<Result(unsigned worker, std::size_t item)>& produce,
                    const std::function<bool(std::size_t item, Result& result)>& consume) {
  const unsigned threads = WorkThreads();
  if (threads <= 1 || count <= 1) {
    for (std::size_t item = 0; item < count; ++item) {
      Result result = produce(0, item);
      if (!consume(item, result)) return false;
    }
    return true;
  }
  // The items go out in batches, so that the threads meet once per batch, not once per item.
  constexpr std::size_t kBatch = 16;
  const std::size_t batches = (count + kBatch - 1) / kBatch;
  struct Slot {
    std::vector<Result> Values;
    std::exception_ptr Failure;
    bool Filled = false;
  };
  const std::size_t window = std::size_t{4} * threads;
  std::vector<Slot> slots(window);
  std::mutex mutex;
  std::condition_variable filled, freed;
  std::size_t next = 0, consumed = 0;
  bool stopping = false;
  const auto work = [&](unsigned worker) {
    for (;;) {
      std::size_t batch;
      {
        std::unique_lock lock(mutex);
        freed.wait(lock,
                   [&] { return stopping || next >= batches || next < consumed + window; });
        if (stopping || next >= batches) return;
        batch = next++;
      }
      Slot made;
      try {
        const std::size_t end = std::min(count, (batch + 1) * kBatch);
        for (std::size_t item = batch * kBatch; item < end; ++item) {
          made.Values.push_back(produce(worker, item));
        }
      } catch (...) {
        made.Failure = std::current_exception();
      }
      made.Filled = true;
      const std::lock_guard lock(mutex);
      slots[batch % window] = std::move(made);
      filled.notify_one();
    }
  };
  std::vector<std::thread> workers;
  const auto stop = [&] {
    {
      const std::lock_guard lock(mutex);
      stopping = true;
    }
    freed.notify_all();
    for (std::thread& thread : workers) thread.join();
  };
  try {
    for (unsigned worker = 0; worker < threads; ++worker) workers.emplace_back(work, worker);
    for (std::size_t batch = 0; batch < batches; ++batch) {
      Slot slot;
      {
        std::unique_lock lock(mutex);
        filled.wait(lock, [&] { return slots[batch % window].Filled; });
        slot = std::move(slots[batch % window]);
        slots[batch % window] = Slot{};
        consumed = batch + 1;
      }
      freed.notify_all();
      // The items made before a failure are consumed first, as on one thread.
      for (std::size_t i = 0; i < slot.Values.size(); ++i) {
        if (!consume(batch * kBatch + i, slot.Values[i])) {
          stop();
          return false;
        }
      }
      if (slot.Failure) std::rethrow_exception(slot.Failure);
    }
  } catch (...) {
    stop();
    throw;
  }
  stop();
  return true;
}

}  // namespace zorvane::platform
