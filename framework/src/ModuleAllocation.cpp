// The module's global allocation operators: every object of the plug-in,
// string buffers included, lives in blocks of the host's basic suite.
// Linked into the module only, never into a host or test program.

#include <cstddef>
#include <cstdint>
#include <new>

#include "framework/PluginSuites.h"

namespace {

void* AllocateHostBlock(std::size_t size) noexcept {
  if (!sSPBasic) return nullptr;
  void* block = nullptr;
  if (sSPBasic->AllocateBlock(size == 0 ? 1 : size, &block) != kNoErr) return nullptr;
  return block;
}

void FreeHostBlock(void* block) noexcept {
  if (block && sSPBasic) sSPBasic->FreeBlock(block);
}

// Over-aligned objects: the host block's own address is kept just below the
// aligned address handed out.
void* AllocateAlignedHostBlock(std::size_t size, std::align_val_t alignment) noexcept {
  const std::size_t align = static_cast<std::size_t>(alignment);
  void* block = AllocateHostBlock(size + align + sizeof(void*));
  if (!block) return nullptr;
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(block) + sizeof(void*);
  const std::uintptr_t aligned = (start + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1);
  reinterpret_cast<void**>(aligned)[-1] = block;
  return reinterpret_cast<void*>(aligned);
}

void FreeAlignedHostBlock(void* pointer) noexcept {
  if (pointer) FreeHostBlock(static_cast<void**>(pointer)[-1]);
}

void* AllocateOrThrow(std::size_t size) {
  void* block = AllocateHostBlock(size);
  if (!block) throw std::bad_alloc();
  return block;
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t alignment) {
  void* block = AllocateAlignedHostBlock(size, alignment);
  if (!block) throw std::bad_alloc();
  return block;
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateHostBlock(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateHostBlock(size); }

void operator delete(void* block) noexcept { FreeHostBlock(block); }
void operator delete[](void* block) noexcept { FreeHostBlock(block); }
void operator delete(void* block, std::size_t) noexcept { FreeHostBlock(block); }
void operator delete[](void* block, std::size_t) noexcept { FreeHostBlock(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { FreeHostBlock(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { FreeHostBlock(block); }

void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateAlignedOrThrow(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateAlignedOrThrow(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAlignedHostBlock(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAlignedHostBlock(size, alignment);
}

void operator delete(void* block, std::align_val_t) noexcept { FreeAlignedHostBlock(block); }
void operator delete[](void* block, std::align_val_t) noexcept { FreeAlignedHostBlock(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { FreeAlignedHostBlock(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { FreeAlignedHostBlock(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  FreeAlignedHostBlock(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  FreeAlignedHostBlock(block);
}

#if defined(__GLIBCXX__)
// The C++ runtime linked into the module keeps an emergency pool for
// exceptions, allocated when the module is loaded; it is given back when the
// host unloads the module, so that load and unload cycles leave nothing.
namespace __gnu_cxx {
void __freeres();
}

namespace {

struct RuntimePoolRelease {
  ~RuntimePoolRelease() { __gnu_cxx::__freeres(); }
} releaseRuntimePoolAtUnload;

}  // namespace
#endif
