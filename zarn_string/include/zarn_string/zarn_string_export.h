// Symbol export for the zarn string library.
//
// The library is shared: every component module and the host import it. On Windows
// the classes are dllexport'ed while the library itself is built and dllimport'ed by
// everybody else; elsewhere they get default visibility in an otherwise hidden build.
#pragma once

#if defined(_WIN32)
#if defined(ZARN_STRING_BUILDING)
#define ZARN_STRING_API __declspec(dllexport)
#else
#define ZARN_STRING_API __declspec(dllimport)
#endif
#else
#define ZARN_STRING_API __attribute__((visibility("default")))
#endif
