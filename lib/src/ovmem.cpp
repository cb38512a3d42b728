#include "ovmem.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ovlog.h"

namespace {

constexpr uint32_t kLiveMarker = 12341234;
constexpr uint32_t kFreedMarker = 98769876;

// Sits right before the caller's block; 32 bytes keep that block 16-byte aligned.
struct BlockHeader {
  BlockHeader* next;      // older
  BlockHeader* previous;  // newer; null for the head
  char* name;
  uint32_t size;
  unsigned char unused[32 - 3 * sizeof(void*) - 2 * sizeof(uint32_t)];
  uint32_t marker;
};
static_assert(sizeof(BlockHeader) == 32, "tracked block header must stay 32 bytes");

struct MemoryState {
  bool tracking = false;
  bool used = false;
  int verbose = 0;
  int malloc_calls = 0;
  int free_calls = 0;
  int realloc_calls = 0;
  MemAllocateRoutine allocate = std::malloc;
  MemReleaseRoutine release = std::free;
  MemReallocateRoutine reallocate = std::realloc;
  MemHandler out_of_memory = nullptr;
  MemHandler free_error = nullptr;
  bool stack_trace_on_free_error = true;
  BlockHeader* head = nullptr;
};

MemoryState& state() {
  static MemoryState instance;
  return instance;
}

unsigned long long address(const void* p) {
  return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p));
}

const char* shown(const char* block_name) { return block_name ? block_name : "(no name)"; }

char* user_block(BlockHeader* header) { return reinterpret_cast<char*>(header + 1); }

// Only blocks on the list are inspected, so a stray or freed pointer is never read.
BlockHeader* find_live_block(void* p) {
  for (BlockHeader* header = state().head; header; header = header->next) {
    if (user_block(header) == p) return header->marker == kLiveMarker ? header : nullptr;
  }
  return nullptr;
}

char* copy_name(const char* name) {
  if (!name) return nullptr;
  const size_t length = std::strlen(name) + 1;
  char* copy = static_cast<char*>(std::malloc(length));
  if (copy) std::memcpy(copy, name, length);
  return copy;
}

void link_as_head(BlockHeader* header) {
  MemoryState& memory = state();
  header->next = memory.head;
  header->previous = nullptr;
  if (memory.head) memory.head->previous = header;
  memory.head = header;
}

void unlink(BlockHeader* header) {
  if (header->previous) {
    header->previous->next = header->next;
  } else {
    state().head = header->next;
  }
  if (header->next) header->next->previous = header->previous;
}

// The neighbours (or the list head) follow a header that realloc moved.
void relink_moved(BlockHeader* header) {
  if (header->previous) {
    header->previous->next = header;
  } else {
    state().head = header;
  }
  if (header->next) header->next->previous = header;
}

void free_block_error(const void* header, const void* p) {
  log_message(LOG_CONT, "free_block_error",
              "ATTEMPT TO FREE UNMALLOCED BLOCK - Block = 0x%llx   ptr = 0x%llx", address(header),
              address(p));
  if (state().stack_trace_on_free_error) print_stacktrace();
  if (state().free_error) state().free_error();
}

void dump_contents(const unsigned char* bytes, int count) {
  std::string column;
  for (int i = 0; i < count; ++i) {
    const unsigned char byte = bytes[i];
    log_raw(" %2x", byte);
    column += (byte >= 32 && byte <= 126) ? static_cast<char>(byte) : '.';
    column += ' ';
    if (i % 16 == 15) {
      log_raw("      %s\n", column.c_str());
      column.clear();
    }
  }
  if (count % 16 != 0) {
    for (int missing = 16 - count % 16; missing > 0; --missing) log_raw("   ");
    log_raw("      %s\n", column.c_str());
  }
}

}  // namespace

void* alloc_mem(unsigned size, const char* block_name) {
  MemoryState& memory = state();
  memory.used = true;
  if (memory.verbose) log_raw("Memory requested %d for %s\n", static_cast<int>(size), shown(block_name));
  ++memory.malloc_calls;

  const size_t total = memory.tracking ? size_t{size} + sizeof(BlockHeader) : size;
  void* p = memory.allocate(total);
  if (!p) {
    if (memory.out_of_memory) memory.out_of_memory();
    p = memory.allocate(total);
  }
  if (!p) {
    log_message(LOG_CONT, "alloc_mem", "Memory allocation failed - Request for %d bytes for %s",
                static_cast<int>(size), shown(block_name));
    return nullptr;
  }
  if (memory.tracking) {
    BlockHeader* header = static_cast<BlockHeader*>(p);
    header->name = copy_name(block_name);
    header->size = size;
    header->marker = kLiveMarker;
    link_as_head(header);
    p = user_block(header);
  }
  if (memory.verbose) log_raw("Memory achieved: %llx\n", address(p));
  return p;
}

void free_mem(void* block) {
  MemoryState& memory = state();
  memory.used = true;
  if (memory.verbose) log_raw("Memory free request %llx\n", address(block));
  ++memory.free_calls;

  if (!memory.tracking) {
    memory.release(block);
    return;
  }
  if (!block) return;
  BlockHeader* header = find_live_block(block);
  if (!header) {
    free_block_error(static_cast<char*>(block) - sizeof(BlockHeader), block);
    return;
  }
  unlink(header);
  header->marker = kFreedMarker;
  std::free(header->name);
  memory.release(header);
}

void* realloc_mem(void* block, unsigned size) {
  MemoryState& memory = state();
  memory.used = true;
  if (memory.verbose) log_raw("Memory realloced: ptr %llx size %d\n", address(block), static_cast<int>(size));
  ++memory.realloc_calls;

  if (!memory.tracking) {
    void* moved = memory.reallocate(block, size);
    if (!moved) {
      log_message(LOG_CONT, "realloc_mem",
                  "Memory realloc failed - addr = %llx   new_size = %d   errno = %d", address(block),
                  static_cast<int>(size), errno);
    }
    return moved;
  }
  if (!block) {
    log_message(LOG_CONT, "realloc_mem", "passed NULL ptr");
    return nullptr;
  }
  BlockHeader* header = find_live_block(block);
  if (!header) {
    free_block_error(static_cast<char*>(block) - sizeof(BlockHeader), block);
    return nullptr;
  }
  header->marker = kFreedMarker;
  BlockHeader* moved =
      static_cast<BlockHeader*>(memory.reallocate(header, size_t{size} + sizeof(BlockHeader)));
  if (!moved) {
    // The old block stays live and listed.
    header->marker = kLiveMarker;
    log_message(LOG_CONT, "realloc_mem",
                "Memory realloc failed - addr = %llx   new size = %d   errno = %d", address(block),
                static_cast<int>(size), errno);
    return nullptr;
  }
  moved->size = size;
  moved->marker = kLiveMarker;
  relink_moved(moved);
  return user_block(moved);
}

void switch_memory_tracking_on() {
  MemoryState& memory = state();
  if (memory.used) {
    if (memory.verbose) log_raw_line("Too late to switch tracking on");
    return;
  }
  memory.tracking = true;
  if (memory.verbose) log_raw_line("Memory tracking switched on");
}

void register_memory_routines(MemAllocateRoutine allocate, MemReleaseRoutine release,
                              MemReallocateRoutine reallocate) {
  MemoryState& memory = state();
  if (memory.used) {
    if (memory.verbose) log_raw_line("Too late to register memory routines");
    return;
  }
  if (!allocate || !release || !reallocate) {
    if (memory.verbose) log_raw_line("One or more memory routines was NULL - none are being used");
    return;
  }
  memory.allocate = allocate;
  memory.release = release;
  memory.reallocate = reallocate;
  if (memory.verbose) log_raw_line("Memory routines registered");
}

void set_memory_verbose(int verbose) { state().verbose = verbose; }

void set_out_of_memory_handler(MemHandler handler) { state().out_of_memory = handler; }

void set_free_error_handler(MemHandler handler, bool print_stack_trace) {
  state().free_error = handler;
  state().stack_trace_on_free_error = print_stack_trace;
}

bool enough_mem_left(unsigned size) {
  if (state().verbose) {
    log_raw("Space avail is %d request was %d\n", static_cast<int>(size), static_cast<int>(size));
  }
  return false;
}

void display_memory(int max_dump_bytes) {
  unsigned long bytes = 0;
  unsigned long blocks = 0;
  unsigned long overhead = 0;
  for (BlockHeader* header = state().head; header; header = header->next) {
    bytes += header->size;
    ++blocks;
    overhead += sizeof(BlockHeader) + (header->name ? std::strlen(header->name) + 1 : 0);
    if (max_dump_bytes < 0) continue;
    log_raw("Memory block at %llx, size = %d   use = %s\n", address(user_block(header)),
            static_cast<int>(header->size), shown(header->name));
    if (max_dump_bytes == 0) continue;
    if (header->size > static_cast<unsigned>(max_dump_bytes)) {
      log_raw("Only the first %d bytes displayed\n", max_dump_bytes);
    }
    const int count = static_cast<int>(std::min<uint32_t>(header->size, max_dump_bytes));
    dump_contents(reinterpret_cast<const unsigned char*>(user_block(header)), count);
  }
  if (max_dump_bytes >= 0) log_raw("\n");

  if (bytes > 0) {
    log_raw("Memory: %lu bytes in %lu blocks (+ %lu bytes (%5.2f%%) overhead))\n", bytes, blocks,
            overhead, static_cast<double>(overhead) / static_cast<double>(bytes) * 100.0);
  } else {
    log_raw("No memory currently in use\n");
  }
  log_raw("Malloc calls %d  free calls = %d  realloc calls = %d\n", state().malloc_calls,
          state().free_calls, state().realloc_calls);
}
