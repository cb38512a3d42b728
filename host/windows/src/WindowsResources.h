// A module's resources as Windows keeps them (property list, icon and
// cursor groups, bitmaps, dialog templates, the version record), read with
// FindResource, LoadResource and LockResource and decoded into the table
// the host reads.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "hostapi/HostResources.h"

namespace hostwindows {

class WindowsResources {
 public:
  explicit WindowsResources(HMODULE module);
  WindowsResources(const WindowsResources&) = delete;
  WindowsResources& operator=(const WindowsResources&) = delete;

  const ModuleResourceTable* table() const { return &table_; }

 private:
  struct Found {
    const unsigned char* data;
    std::size_t size;
  };
  // The resource's bytes in the module's memory, or null data.
  Found load(const wchar_t* type, unsigned id, unsigned short language) const;
  void readAll(const wchar_t* type);
  void add(uint32_t type, unsigned id, unsigned short language, const void* data, std::size_t size);

  const ResourceImage* icon(Found group, unsigned short language);
  const ResourceImage* cursor(Found group, unsigned short language);
  const ResourceImage* bitmap(Found found);
  const ResourceDialog* dialog(Found found);
  const ResourceVersion* version(Found found);
  const char* keep(std::string text);

  HMODULE module_;
  std::deque<std::vector<unsigned char>> pixels_;
  std::deque<ResourceImage> images_;
  std::deque<std::vector<ResourceDialogItem>> items_;
  std::deque<ResourceDialog> dialogs_;
  std::deque<ResourceVersion> versions_;
  std::deque<std::string> texts_;
  std::vector<ModuleResource> resources_;
  ModuleResourceTable table_{0, nullptr};
};

}  // namespace hostwindows
