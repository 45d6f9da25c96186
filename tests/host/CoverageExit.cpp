// Linked in coverage builds only, with -Wl,--wrap=_Exit: every _Exit of the test program writes
// the coverage counts before the process ends.

extern "C" {
void __gcov_dump();
[[noreturn]] void __real__Exit(int status);

[[noreturn]] void __wrap__Exit(int status) {
  __gcov_dump();
  __real__Exit(status);
}
}
