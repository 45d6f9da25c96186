#pragma once

// Calling convention of the host's entry points and of our exports: the Windows API
// convention (callee pops the arguments) on 32-bit Windows, the platform default elsewhere.
#if defined(_WIN32) && defined(__i386__)
#define ZZ_WINAPI __stdcall
#else
#define ZZ_WINAPI
#endif
