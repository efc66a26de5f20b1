// The platform debug output: where diagnostic lines of components go.
//
// On Windows a line goes to OutputDebugStringA, for a debugger or a log viewer to show.
// Elsewhere it goes to standard error, one line per call (a line end is added there,
// never to the text itself). A capture sink, when set, receives every line instead:
// tests and the stand-in host read the lines that way.
//
// A shared library of its own, so that the host and every component module loaded into
// it share one output and one sink. Safe to call from any thread; calls are serialised.
#pragma once

#if defined(_WIN32)
#if defined(ZARN_DEBUG_OUTPUT_BUILDING)
#define ZARN_DEBUG_OUTPUT_API __declspec(dllexport)
#else
#define ZARN_DEBUG_OUTPUT_API __declspec(dllimport)
#endif
#else
#define ZARN_DEBUG_OUTPUT_API __attribute__((visibility("default")))
#endif

extern "C" {

// Writes `line` (zero-terminated; null writes nothing) to the platform debug output, or
// hands it to the capture sink. The text is passed on unchanged.
ZARN_DEBUG_OUTPUT_API void zarn_debug_output(const char* line);

// Receives each line while set. `line` is valid during the call only.
typedef void (*zarn_debug_sink)(void* context, const char* line);

// Sets the capture sink and its context; a null sink restores the platform output.
ZARN_DEBUG_OUTPUT_API void zarn_debug_capture(zarn_debug_sink sink, void* context);
}
