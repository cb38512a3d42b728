#include "platform/platform_host.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <map>

struct HCURSOR__ {
  HINSTANCE module;
  unsigned short id;
};

namespace {

void write_to_stderr(PlatformOutputKind, const char* text, void*) {
  std::fputs(text, stderr);
  const size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
}

struct PlatformState {
  PlatformOutputSink sink = write_to_stderr;
  void* sink_context = nullptr;
  std::map<HINSTANCE, PlatformResourceLookup> modules;
  // Cursors keep their address for the life of the process, like shared system cursors.
  std::deque<HCURSOR__> cursors;
  HCURSOR current_cursor = nullptr;
};

PlatformState& state() {
  static PlatformState instance;
  return instance;
}

void emit(PlatformOutputKind kind, const char* text) {
  state().sink(kind, text ? text : "", state().sink_context);
}

// A name given with MAKEINTRESOURCEA is a number below 0x10000 in pointer form.
bool is_int_resource(const char* name) {
  return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

HCURSOR shared_cursor(HINSTANCE module, unsigned short id) {
  for (HCURSOR__& cursor : state().cursors) {
    if (cursor.module == module && cursor.id == id) return &cursor;
  }
  state().cursors.push_back(HCURSOR__{module, id});
  return &state().cursors.back();
}

}  // namespace

extern "C" {

void OutputDebugStringA(const char* text) { emit(PLATFORM_DEBUGGER_LINE, text); }

int MessageBoxA(HWND, const char* text, const char*, unsigned) {
  emit(PLATFORM_MESSAGE_BOX, text);
  return IDOK;
}

HCURSOR LoadCursorA(HINSTANCE module, const char* name) {
  if (!is_int_resource(name)) return nullptr;
  const auto found = state().modules.find(module);
  if (found == state().modules.end()) return nullptr;
  const auto id = static_cast<unsigned short>(reinterpret_cast<uintptr_t>(name));
  if (!found->second(module, PLATFORM_RESOURCE_CURSOR_GROUP, id)) return nullptr;
  return shared_cursor(module, id);
}

HCURSOR SetCursor(HCURSOR cursor) {
  const HCURSOR previous = state().current_cursor;
  state().current_cursor = cursor;
  return previous;
}

void platform_set_output_sink(PlatformOutputSink sink, void* context) {
  state().sink = sink ? sink : write_to_stderr;
  state().sink_context = sink ? context : nullptr;
}

void platform_register_module(HINSTANCE module, PlatformResourceLookup lookup) {
  if (lookup) state().modules[module] = lookup;
}

void platform_unregister_module(HINSTANCE module) { state().modules.erase(module); }

int platform_current_cursor(unsigned short* id, HINSTANCE* module) {
  const HCURSOR current = state().current_cursor;
  if (!current) return 0;
  if (id) *id = current->id;
  if (module) *module = current->module;
  return 1;
}

}  // extern "C"
