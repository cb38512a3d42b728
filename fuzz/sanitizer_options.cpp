// AddressSanitizer's defaults for the fuzz targets, which an ASAN_OPTIONS
// of the environment still overrides: freed memory is held back for reuse
// in a smaller quarantine, allocations are not filled and their stacks are
// kept short. Each input allocates and frees a whole host; with the
// defaults, fresh pages and stack traces cost more than the input itself.
// A find is replayed in an ordinary sanitized build for the full report.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16:max_malloc_fill_size=0:malloc_context_size=4";
}
