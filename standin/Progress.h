#pragma once

// The stand-in's progress display. The plug-in advances it once per character of files of up
// to 100 MB, so a step is one decrement of the steps left before the next redraw; the bar on
// standard error is redrawn only when the shown percentage changes, and only on a terminal.

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace standin {

class ProgressDisplay {
 public:
  enum class Mode : uint8_t { Auto, Never, Always };  // Auto: draw when the output is a terminal

  ProgressDisplay() = default;
  ProgressDisplay(const ProgressDisplay&) = delete;  // left_ may point into it
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

  // Where and whether the bar is drawn from the next Init on.
  void SetOutput(Mode mode, std::FILE* out);
  void Reset();  // counters to zero; keeps the output setting

  // From now on the steps left are counted in `shared` (the server's, at a fixed address that
  // the exported step decrements without going through the server). Steps already counted
  // down in `shared`, made before the server existed, count too.
  void CountStepsIn(uint64_t& shared) {
    shared -= kNever - *left_;
    left_ = &shared;
  }

  void Init(std::string_view text, int32_t total);
  void Update() {
    if (--*left_ == 0) [[unlikely]]
      StepsRanOut();
  }
  // What a step does when the steps left before the next redraw have run out.
  void StepsRanOut();
  void Finish();

  const std::string& Text() const { return text_; }
  int32_t Total() const { return total_; }
  uint64_t Steps() const { return base_ + (planned_ - *left_); }
  bool IsOpen() const { return open_; }
  int InitCount() const { return initCount_; }
  int FinishCount() const { return finishCount_; }
  int RedrawCount() const { return redrawCount_; }
  int ShownPercent() const { return shownPercent_; }

 private:
  static constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();
  void Redraw();
  // The next redraw comes at the step count `step` (kNever: none).
  void PlanRedrawAt(uint64_t step);
  void Draw();
  int PercentOf(uint64_t steps) const;

  Mode mode_ = Mode::Auto;
  std::FILE* out_ = nullptr;  // null: standard error
  bool drawing_ = false;

  std::string text_;
  int32_t total_ = 0;
  // Steps() is base_ steps, then those of the planned_ counted down so far in *left_.
  uint64_t base_ = 0;
  uint64_t planned_ = kNever;
  uint64_t own_ = kNever;
  uint64_t* left_ = &own_;
  int shownPercent_ = -1;
  bool open_ = false;
  int initCount_ = 0;
  int finishCount_ = 0;
  int redrawCount_ = 0;
};

}  // namespace standin
