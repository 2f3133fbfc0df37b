#pragma once

namespace tsukikage {

// Adds one to a counter for as long as it lives: how deep a call is nested, or how many
// message boxes are open.
class ScopedCount {
  public:
    explicit ScopedCount(int& count) : count_(count) { ++count_; }
    ~ScopedCount() { --count_; }
    ScopedCount(const ScopedCount&) = delete;
    ScopedCount& operator=(const ScopedCount&) = delete;

  private:
    int& count_;
};

}  // namespace tsukikage
