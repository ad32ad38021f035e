#pragma once
// The one step every message loop of the program takes before it translates and dispatches a
// message (the main loop, a modal window's loop, a skin's drag, a long run's pump): the thread's
// chain of filters, each of which may take the message. The forms are filters and apply their keys
// there, so a key does the same in whichever loop reads it and whichever control has the focus,
// and it is judged before the control would translate it into characters.
#include <windows.h>

namespace krelmix {

class MessageFilter {
 public:
  MessageFilter(const MessageFilter&) = delete;
  MessageFilter& operator=(const MessageFilter&) = delete;

  // Sees a message of this thread before it is translated and dispatched; true takes it.
  virtual bool PreTranslateMessage(MSG& msg) = 0;

 protected:
  // A filter is in its thread's chain for as long as it lives; the newest is asked first.
  MessageFilter();
  ~MessageFilter();
};

// Asks the thread's filters; true when one took the message.
bool PreTranslate(MSG& msg);
// A message no filter takes is translated and dispatched.
void Deliver(MSG& msg);
// The program's loop: delivers messages until WM_QUIT, whose exit code it returns.
int RunMessageLoop();

}  // namespace krelmix
