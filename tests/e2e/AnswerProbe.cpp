#include "AnswerProbe.h"

#include <algorithm>
#include <chrono>

namespace krelmix::e2e {

namespace {
double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }
}  // namespace

AnswerProbe::AnswerProbe(HWND window) : start_(Now()), thread_([this, window] { Run(window); }) {}

AnswerProbe::~AnswerProbe() {
  stop_ = true;
  thread_.join();
}

double AnswerProbe::Waiting() const {
  const double asked = asked_;
  return asked > 0 ? Now() - asked : 0;
}

double AnswerProbe::Longest() const { return std::max(Slowest(), Waiting()); }

void AnswerProbe::Run(HWND window) {
  while (!stop_) {
    DWORD_PTR answer = 0;
    asked_ = Now();
    const bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &answer) != 0;
    const double took = Now() - asked_;
    asked_ = 0;
    if (!answered) break;  // the window is gone; whoever waits on the program says how
    ++answers_;
    if (took > slowest_) {
      slowest_ = took;
      slowestAt_ = Now() - took - start_;
    }
    Sleep(5);
  }
}

}  // namespace krelmix::e2e
