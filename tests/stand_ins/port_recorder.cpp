// A stand-in port I/O library. It drives no hardware: it appends every event
// to "port_trace.txt" in the current folder so a test can read back exactly
// what reached the port, and when. One source builds every variant; a
// variant leaves out an entry by not defining its name.
#include <chrono>
#include <cstdint>
#include <cstdio>

#if defined(_WIN32)
#define STAND_IN_EXPORT extern "C" __declspec(dllexport)
#define STAND_IN_CALL __stdcall
#else
#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))
#define STAND_IN_CALL
#endif

namespace {

int64_t NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Load and unload are recorded too, so tests see when the driver takes and
// releases the library.
struct TraceFile {
  std::FILE* file = std::fopen("port_trace.txt", "a");
  TraceFile() { Event("load"); }
  ~TraceFile() {
    Event("unload");
    if (file != nullptr) std::fclose(file);
  }
  void Event(const char* kind) {
    if (file == nullptr) return;
    std::fprintf(file, "%s %s 0 0 %lld\n", kind, STAND_IN_TAG,
                 static_cast<long long>(NowNanoseconds()));
    std::fflush(file);
  }
};

TraceFile trace;

}  // namespace

#ifdef STAND_IN_READ_ENTRY
STAND_IN_EXPORT int32_t STAND_IN_CALL STAND_IN_READ_ENTRY(int32_t) { return 0; }
#endif

#ifdef STAND_IN_WRITE_ENTRY
STAND_IN_EXPORT void STAND_IN_CALL STAND_IN_WRITE_ENTRY(int32_t port, int32_t value) {
  const int64_t now = NowNanoseconds();
  if (trace.file == nullptr) return;
  std::fprintf(trace.file, "write %s %d %d %lld\n", STAND_IN_TAG, port, value,
               static_cast<long long>(now));
  std::fflush(trace.file);
}
#endif
