#include "toolkit/MessageLoop.h"

#include <algorithm>
#include <vector>

#include "toolkit/ErrorReport.h"

namespace krelmix {

namespace {
// Oldest first. Each thread reads its own queue, so each has its own chain.
std::vector<MessageFilter*>& Chain() {
  thread_local std::vector<MessageFilter*> chain;
  return chain;
}

bool InChain(const MessageFilter* filter) {
  const std::vector<MessageFilter*>& chain = Chain();
  return std::find(chain.begin(), chain.end(), filter) != chain.end();
}
}  // namespace

MessageFilter::MessageFilter() { Chain().push_back(this); }

MessageFilter::~MessageFilter() { std::erase(Chain(), this); }

bool PreTranslate(MSG& msg) {
  // A filter may open a window or close one (a key's command shows a dialog, whose loop comes
  // back here): the chain is walked as it was, skipping a filter gone meanwhile.
  const std::vector<MessageFilter*> filters = Chain();
  try {
    for (auto it = filters.rbegin(); it != filters.rend(); ++it)
      if (InChain(*it) && (*it)->PreTranslateMessage(msg)) return true;
  } catch (...) {
    // As at a window procedure: the message is the one that failed, and the loop goes on.
    ReportCurrentException(msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr);
    return true;
  }
  return false;
}

void Deliver(MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int RunMessageLoop() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) Deliver(msg);
  return static_cast<int>(msg.wParam);
}

}  // namespace krelmix
