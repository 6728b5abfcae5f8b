// The backend without a display: no windows, timers run from a loop that
// sleeps until the next deadline, message boxes go to standard error.
#include <langinfo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Form.h"

namespace ui {

namespace {

using Clock = std::chrono::steady_clock;

class TerminalBackend : public Backend {
 public:
  std::unique_ptr<FormPeer> ShowForm(TForm&, std::function<void()>) override { return nullptr; }

  void SetTimer(TTimer& timer, bool armed) override {
    auto found = std::find_if(timers_.begin(), timers_.end(),
                              [&](const Armed& entry) { return entry.timer == &timer; });
    if (found != timers_.end()) timers_.erase(found);
    if (armed) timers_.push_back({&timer, NextDeadline(timer)});
  }

  // With nothing armed there is nothing that could ever call Terminate, so
  // the loop ends rather than wait forever.
  void RunLoop(const bool& terminated) override {
    while (!terminated && !timers_.empty()) {
      // Equal deadlines fire in the order the timers were armed.
      auto next = std::min_element(timers_.begin(), timers_.end(),
                                   [](const Armed& a, const Armed& b) { return a.due < b.due; });
      std::this_thread::sleep_until(next->due);
      TTimer& timer = *next->timer;
      // Rescheduled before the handler runs, so that the handler may disable it.
      next->due = NextDeadline(timer);
      FireTimer(timer);
    }
  }

  void MessageBox(std::u16string_view text, std::u16string_view caption) override {
    std::u16string line(caption);
    line += u": ";
    line += text;
    line += u'\n';
    const std::string bytes = rtl::CodePage(nl_langinfo(CODESET)).Encode(line);
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
  }

 private:
  struct Armed {
    TTimer* timer;
    Clock::time_point due;
  };

  static Clock::time_point NextDeadline(const TTimer& timer) {
    return Clock::now() + std::chrono::milliseconds(timer.Interval());
  }

  std::vector<Armed> timers_;
};

}  // namespace

std::unique_ptr<Backend> MakeTerminalBackend() { return std::make_unique<TerminalBackend>(); }

}  // namespace ui
