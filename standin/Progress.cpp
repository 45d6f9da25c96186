#include "standin/Progress.h"

#include <algorithm>

#if defined(_WIN32)
#include <io.h>
#define ZZ_ISATTY _isatty
#define ZZ_FILENO _fileno
#else
#include <unistd.h>
#define ZZ_ISATTY isatty
#define ZZ_FILENO fileno
#endif

namespace standin {
namespace {

constexpr int kBarWidth = 30;
constexpr std::size_t kMaxLabel = 48;

}  // namespace

void ProgressDisplay::SetOutput(Mode mode, std::FILE* out) {
  mode_ = mode;
  out_ = out;
}

void ProgressDisplay::Reset() {
  text_.clear();
  total_ = 0;
  steps_ = 0;
  nextRedraw_ = kNever;
  shownPercent_ = -1;
  open_ = false;
  drawing_ = false;
  initCount_ = 0;
  finishCount_ = 0;
  redrawCount_ = 0;
}

int ProgressDisplay::PercentOf(uint64_t steps) const {
  if (total_ <= 0) return 0;
  return static_cast<int>(std::min<uint64_t>(100, steps * 100 / static_cast<uint64_t>(total_)));
}

void ProgressDisplay::Init(std::string_view text, int32_t total) {
  try {
    text_.assign(text);
  } catch (...) {
    text_.clear();
  }
  total_ = total;
  steps_ = 0;
  nextRedraw_ = kNever;
  shownPercent_ = -1;
  open_ = true;
  ++initCount_;

  std::FILE* out = out_ != nullptr ? out_ : stderr;
  drawing_ = mode_ == Mode::Always || (mode_ == Mode::Auto && ZZ_ISATTY(ZZ_FILENO(out)) != 0);
  if (drawing_) Redraw();
}

void ProgressDisplay::Redraw() {
  if (!drawing_) {
    nextRedraw_ = kNever;
    return;
  }
  const int percent = PercentOf(steps_);
  if (percent != shownPercent_) {
    shownPercent_ = percent;
    Draw();
  }
  // The first step count at which the shown percentage changes again, and at least the next step.
  if (total_ <= 0 || percent >= 100) {
    nextRedraw_ = kNever;
  } else {
    const uint64_t total = static_cast<uint64_t>(total_);
    nextRedraw_ = std::max((static_cast<uint64_t>(percent + 1) * total + 99) / 100, steps_ + 1);
  }
}

void ProgressDisplay::Draw() {
  ++redrawCount_;
  std::FILE* out = out_ != nullptr ? out_ : stderr;
  const int filled = shownPercent_ * kBarWidth / 100;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '-');
  const std::string label = text_.size() > kMaxLabel ? text_.substr(0, kMaxLabel - 3) + "..." : text_;
  std::fprintf(out, "\r%s [%s] %3d%%", label.c_str(), bar.c_str(), shownPercent_);
  std::fflush(out);
}

void ProgressDisplay::Finish() {
  if (drawing_) {
    std::FILE* out = out_ != nullptr ? out_ : stderr;
    std::fputc('\n', out);
    std::fflush(out);
  }
  drawing_ = false;
  nextRedraw_ = kNever;
  open_ = false;
  ++finishCount_;
}

}  // namespace standin
