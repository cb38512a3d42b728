#ifndef OVMEM_H
#define OVMEM_H

// Named heap blocks. With tracking switched on (before the first allocation)
// every live block is listed and can be shown with display_memory.

#include <cstddef>

typedef void* (*MemAllocateRoutine)(size_t size);
typedef void (*MemReleaseRoutine)(void* block);
typedef void* (*MemReallocateRoutine)(void* block, size_t size);
typedef void (*MemHandler)(void);

// Answers null, after a Cont entry, when the block cannot be had.
void* alloc_mem(unsigned size, const char* block_name);
void free_mem(void* block);
// Answers null on failure; the old block is then left as it was.
void* realloc_mem(void* block, unsigned size);

// Both take effect only before the first call of the three routines above.
void switch_memory_tracking_on();
void register_memory_routines(MemAllocateRoutine allocate, MemReleaseRoutine release,
                              MemReallocateRoutine reallocate);

void set_memory_verbose(int verbose);
// Called once when an allocation fails, before the single retry.
void set_out_of_memory_handler(MemHandler handler);
// Called after an attempt to free something that is not a live tracked block.
void set_free_error_handler(MemHandler handler, bool print_stack_trace);
// Always answers false: free space cannot be measured.
bool enough_mem_left(unsigned size);
// Lists the live tracked blocks with up to max_dump_bytes of each (0: none,
// negative: list nothing), then the totals and the call counts.
void display_memory(int max_dump_bytes);

#endif
