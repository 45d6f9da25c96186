#pragma once

// What the three harnesses share: a scratch folder of their own, the stand-in set up the way
// an import needs it, a reader that takes typed values off the front of the input, and the
// rule that only the plug-in's own exceptions may leave its internal routines.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "host/Errors.h"
#include "host/LayerTypes.h"

namespace zzfuzz {

// A folder of its own, in memory where the system has /dev/shm, else under the temp folder;
// made once per process and removed at its normal exit.
const std::string& WorkDir();
// Writes the bytes as WorkDir()/name and returns the path. Any failure is fatal: a harness
// that cannot write its input tests nothing.
std::string WriteWorkFile(std::string_view name, std::string_view bytes);
void RemoveWorkFile(std::string_view name);

// Registers the stand-in once: messages collected, no progress bar, test mode off (in test
// mode the message routine would end the process).
void PrepareStandin();

// Prints the finding and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(std::string_view what, std::string_view detail = {});

// From then on every throw of a type that is not the plug-in's own (one declared in namespace
// zz) aborts at the throw, even where a catch-all further up would hide it: std::out_of_range
// from a bad index, std::bad_alloc from an unbounded allocation. Linux only; elsewhere a no-op.
void CheckEveryThrow();

// Runs f. EConversionError, ERangeError and ELayerException may leave it, each with a message;
// any other exception is a finding. True when f completed.
template <typename F>
bool AllowingOwnExceptions(F&& f) {
  const auto requireText = [](const std::exception& error) {
    if (error.what() == nullptr || *error.what() == '\0') Fail("exception without a message");
  };
  try {
    f();
    return true;
  } catch (const zz::EConversionError& error) {
    requireText(error);
  } catch (const zz::ERangeError& error) {
    requireText(error);
  } catch (const zz::ELayerException& error) {
    requireText(error);
  } catch (const std::exception& error) {
    Fail("foreign exception", error.what());
  } catch (...) {
    Fail("exception of unknown type");
  }
  return false;
}

// Typed values off the front of the input; zeros once it runs out.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  int32_t Int32() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
    return static_cast<int32_t>(value);
  }
  std::string_view Rest() {
    const std::size_t start = pos_;
    pos_ = size_;
    return {reinterpret_cast<const char*>(data_) + start, size_ - start};
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace zzfuzz
