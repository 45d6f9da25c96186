#pragma once

// The stand-in's progress display. The plug-in advances it once per character of files of up
// to 100 MB, so a step is one count and one comparison with the step of the next redraw; the
// bar on standard error is redrawn only when the shown percentage changes, and only on a terminal.

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace standin {

class ProgressDisplay {
 public:
  enum class Mode : uint8_t { Auto, Never, Always };  // Auto: draw when the output is a terminal

  // Where and whether the bar is drawn from the next Init on.
  void SetOutput(Mode mode, std::FILE* out);
  void Reset();  // counters to zero; keeps the output setting

  void Init(std::string_view text, int32_t total);
  void Update() {
    if (++steps_ == nextRedraw_) [[unlikely]]
      Redraw();
  }
  void Finish();

  const std::string& Text() const { return text_; }
  int32_t Total() const { return total_; }
  uint64_t Steps() const { return steps_; }
  bool IsOpen() const { return open_; }
  int InitCount() const { return initCount_; }
  int FinishCount() const { return finishCount_; }
  int RedrawCount() const { return redrawCount_; }
  int ShownPercent() const { return shownPercent_; }

 private:
  static constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();
  // Draws the bar if it is shown and its percentage changed, and plans the next redraw.
  void Redraw();
  void Draw();
  int PercentOf(uint64_t steps) const;

  Mode mode_ = Mode::Auto;
  std::FILE* out_ = nullptr;  // null: standard error
  bool drawing_ = false;

  std::string text_;
  int32_t total_ = 0;
  uint64_t steps_ = 0;
  uint64_t nextRedraw_ = kNever;  // the step count at which Update redraws
  int shownPercent_ = -1;
  bool open_ = false;
  int initCount_ = 0;
  int finishCount_ = 0;
  int redrawCount_ = 0;
};

}  // namespace standin
