#include "cleanup/RunButtons.h"

namespace krelmix {

MainButtonRule::MainButtonRule() {
  enabled_.fill(true);
  Set(MainButton::Delete, false);
  Set(MainButton::Stop, false);
}

void MainButtonRule::SwitchCommands(RunKind kind, bool enabled) {
  for (MainButton button : {MainButton::Search, MainButton::Clean, MainButton::Tmp, MainButton::Exit})
    Set(button, enabled);
  if (kind != RunKind::Clean) Set(MainButton::Settings, enabled);
  Set(MainButton::Stop, !enabled);
}

void MainButtonRule::RunStarts(RunKind kind) {
  deleteBefore_ = Enabled(MainButton::Delete);
  SwitchCommands(kind, false);
  Set(MainButton::Delete, false);
}

void MainButtonRule::RunEnds(RunKind kind, const RunEnd& end) {
  SwitchCommands(kind, true);
  switch (kind) {
    case RunKind::Search:
      Set(MainButton::Delete, end.findsListed);
      break;
    case RunKind::Deletion:
      Set(MainButton::Delete, end.deletionStopped);
      break;
    case RunKind::Clean:
      // A clean that could not start leaves the earlier finds listed.
      Set(MainButton::Delete, end.completed ? end.deletionStopped : end.findsListed);
      break;
    case RunKind::TempCleanup:
      Set(MainButton::Delete, deleteBefore_);
      break;
  }
}

}  // namespace krelmix
