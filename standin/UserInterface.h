#pragma once

// What the editor shows the user during an import: the messages, kept in the order shown, and
// the progress display.

#include <string>
#include <vector>

#include "standin/Progress.h"

namespace standin {

class UserInterface {
 public:
  // No messages, progress counters zero; the progress display keeps its output setting.
  void Clear() {
    messages_.clear();
    progress_.Reset();
  }

  std::vector<std::string>& Messages() { return messages_; }
  const std::vector<std::string>& Messages() const { return messages_; }
  ProgressDisplay& Progress() { return progress_; }
  const ProgressDisplay& Progress() const { return progress_; }

 private:
  std::vector<std::string> messages_;
  ProgressDisplay progress_;
};

}  // namespace standin
