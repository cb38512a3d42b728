#include "hostapp/ModuleResources.h"

namespace hostapp {

namespace {

constexpr uint32_t kVendorADBE = 0x41444245u;  // 'ADBE'
constexpr uint32_t kKeyKind = 0x6B696E64u;     // 'kind'
constexpr uint32_t kKeyIvrs = 0x69767273u;     // 'ivrs'
constexpr uint32_t kKeyWx86 = 0x77783836u;     // 'wx86'

class LittleEndianReader {
 public:
  LittleEndianReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  bool read(uint32_t& value, int bytes) {
    if (size_ - position_ < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i) value |= uint32_t(data_[position_ + i]) << (8 * i);
    position_ += static_cast<std::size_t>(bytes);
    return true;
  }
  bool skip(std::size_t bytes) {
    if (size_ - position_ < bytes) return false;
    position_ += bytes;
    return true;
  }
  const unsigned char* here() const { return data_ + position_; }

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

std::string FourCharacters(uint32_t value) {
  return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

}  // namespace

const ModuleResource* findResource(const ModuleResourceTable* table, uint32_t type, uint16_t id) {
  if (!table) return nullptr;
  for (int32_t i = 0; i < table->count; ++i) {
    const ModuleResource& resource = table->resources[i];
    if (resource.type == type && resource.id == id) return &resource;
  }
  return nullptr;
}

bool readPropertyList(const unsigned char* data, std::size_t size, PluginProperties& properties,
                      std::string& error) {
  LittleEndianReader reader(data, size);
  uint32_t version = 0, listVersion = 0, count = 0;
  if (!reader.read(version, 2) || !reader.read(listVersion, 4) || !reader.read(count, 4)) {
    error = "property list too short for its header";
    return false;
  }
  properties = PluginProperties();
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t vendor = 0, key = 0, id = 0, length = 0;
    if (!reader.read(vendor, 4) || !reader.read(key, 4) || !reader.read(id, 4) || !reader.read(length, 4)) {
      error = "property list cut short in property " + std::to_string(i + 1);
      return false;
    }
    const unsigned char* value = reader.here();
    if (!reader.skip(length)) {
      error = "property list cut short in the data of property " + std::to_string(i + 1);
      return false;
    }
    if (vendor != kVendorADBE) continue;
    uint32_t word = 0;
    LittleEndianReader valueReader(value, length);
    if (key == kKeyKind && valueReader.read(word, 4)) properties.kind = FourCharacters(word);
    if (key == kKeyIvrs && valueReader.read(word, 4)) properties.interfaceVersion = static_cast<int32_t>(word);
    if (key == kKeyWx86) {
      std::size_t end = 0;
      while (end < length && value[end] != 0) ++end;
      properties.entryPoint.assign(reinterpret_cast<const char*>(value), end);
    }
  }
  return true;
}

}  // namespace hostapp
