#pragma once
// Device threads hand their news to the GUI thread as posted calls: PostToGui queues `call` on
// the application's event loop (safe from any thread). A poster made by an object drops calls
// that arrive after the object is gone or after Cancel (stale news of a stopped stream).

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

void PostToGui(std::function<void()> call);

class TGuiPoster {
 public:
  TGuiPoster() : FState(std::make_shared<State>()) {}
  ~TGuiPoster() { FState->Alive = false; }
  TGuiPoster(const TGuiPoster&) = delete;
  TGuiPoster& operator=(const TGuiPoster&) = delete;

  // A function that device threads call to post `call`; it runs only while this poster lives
  // and no Cancel came after the function was made.
  std::function<void(std::function<void()>)> Maker() const {
    auto state = FState;
    const uint64_t gen = state->Generation.load();
    return [state, gen](std::function<void()> call) {
      PostToGui([state, gen, call = std::move(call)] {
        if (state->Alive && state->Generation.load() == gen) call();
      });
    };
  }
  // Drops every call posted by the functions made so far.
  void Cancel() { ++FState->Generation; }

 private:
  struct State {
    std::atomic<bool> Alive{true};
    std::atomic<uint64_t> Generation{0};
  };
  std::shared_ptr<State> FState;
};
