#pragma once
// How long a program's window goes without answering, watched from another process: a thread
// asks the window, again and again, a message that only its message loop answers (WM_NULL), and
// keeps the longest wait. Shared by the end-to-end tests and the program benchmark.
#include <windows.h>

#include <atomic>
#include <thread>

namespace krelmix::e2e {

class AnswerProbe {
 public:
  explicit AnswerProbe(HWND window);
  ~AnswerProbe();
  AnswerProbe(const AnswerProbe&) = delete;
  AnswerProbe& operator=(const AnswerProbe&) = delete;

  // The longest the window took to answer, in seconds.
  double Slowest() const { return slowest_; }
  // When the slowest question was asked, in seconds since the probe started.
  double SlowestAt() const { return slowestAt_; }
  // Seconds since the window was last asked without answering yet: nonzero while a question waits.
  double Waiting() const;
  // The longest silence so far, the question still waiting included.
  double Longest() const;
  // How many questions were answered.
  long Answers() const { return answers_; }

 private:
  void Run(HWND window);
  std::atomic<bool> stop_{false};
  const double start_;
  std::atomic<double> slowest_{0}, slowestAt_{0}, asked_{0};
  std::atomic<long> answers_{0};
  std::thread thread_;
};

}  // namespace krelmix::e2e
