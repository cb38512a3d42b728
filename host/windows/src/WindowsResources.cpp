#include "WindowsResources.h"

#include <algorithm>
#include <map>

#include "hostwindows/WideText.h"

namespace hostwindows {

namespace {

const wchar_t* const kPropertyListType = L"PIPL";
constexpr DWORD kBitmapHeaderSize = 40;
constexpr uint16_t kNumberMark = 0xFFFF;
constexpr uint16_t kButtonClass = 0x80, kEditClass = 0x81, kStaticClass = 0x82;
constexpr uint32_t kButtonKinds = 0x0F, kStaticKinds = 0x1F;

// Bounded little-endian reads: what lies outside the bytes reads as zero
// and marks the whole as broken.
class Bytes {
 public:
  Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  bool broken() const { return broken_; }
  std::size_t size() const { return size_; }
  const unsigned char* at(std::size_t offset, std::size_t count) {
    if (offset > size_ || count > size_ - offset) {
      broken_ = true;
      return nullptr;
    }
    return data_ + offset;
  }
  uint32_t number(std::size_t offset, int bytes) {
    const unsigned char* p = at(offset, static_cast<std::size_t>(bytes));
    uint32_t value = 0;
    for (int i = 0; p && i < bytes; ++i) value |= uint32_t(p[i]) << (8 * i);
    return value;
  }
  uint16_t word(std::size_t offset) { return static_cast<uint16_t>(number(offset, 2)); }
  uint32_t doubleWord(std::size_t offset) { return number(offset, 4); }
  // A zero-ended UTF-16 text at offset, which moves past it.
  std::string text(std::size_t& offset) {
    std::wstring characters;
    for (uint16_t c; (c = word(offset)) != 0 && !broken_; offset += 2) characters += static_cast<wchar_t>(c);
    offset += 2;
    return utf8(characters);
  }
  // A text, or kNumberMark and a number, which comes back in number.
  std::string textOrNumber(std::size_t& offset, uint16_t* number) {
    *number = 0;
    if (word(offset) != kNumberMark) return text(offset);
    *number = word(offset + 2);
    offset += 4;
    return "";
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  bool broken_ = false;
};

std::size_t Aligned(std::size_t offset) { return (offset + 3) & ~std::size_t(3); }

struct Bitmap {
  int32_t width = 0;
  int32_t height = 0;   // of the picture, without the mask of icons and cursors
  uint16_t bits = 0;
  std::size_t colours = 0;  // offset of the pixel rows
  std::size_t stride = 0;
};

// The header of a device-independent bitmap at offset; icons and cursors
// store twice the height, their colour rows then their mask.
Bitmap ReadBitmapHeader(Bytes& bytes, std::size_t offset, bool withMask) {
  Bitmap bitmap;
  const DWORD headerSize = bytes.doubleWord(offset);
  bitmap.width = static_cast<int32_t>(bytes.doubleWord(offset + 4));
  bitmap.height = static_cast<int32_t>(bytes.doubleWord(offset + 8)) / (withMask ? 2 : 1);
  bitmap.bits = bytes.word(offset + 14);
  const DWORD compression = bytes.doubleWord(offset + 16);
  DWORD paletteSize = bytes.doubleWord(offset + 32);
  if (paletteSize == 0 && bitmap.bits <= 8) paletteSize = 1u << bitmap.bits;
  if (headerSize < kBitmapHeaderSize || compression != 0 || bitmap.width <= 0 || bitmap.height <= 0 ||
      bitmap.width > 4096 || bitmap.height > 4096 || (bitmap.bits != 1 && bitmap.bits != 24)) {
    return Bitmap();
  }
  bitmap.colours = offset + headerSize + paletteSize * 4;
  bitmap.stride = ((static_cast<std::size_t>(bitmap.width) * bitmap.bits + 31) / 32) * 4;
  return bitmap;
}

// The pixel at column x of picture row y (from the top) of rows stored
// bottom-up from offset: three bytes RGB, or one byte 0 or 1.
void ReadRows(Bytes& bytes, std::size_t offset, const Bitmap& bitmap, uint16_t bits,
              std::vector<unsigned char>& out) {
  const std::size_t stride = ((static_cast<std::size_t>(bitmap.width) * bits + 31) / 32) * 4;
  if (!bytes.at(offset, stride * static_cast<std::size_t>(bitmap.height))) return;
  for (int32_t y = 0; y < bitmap.height; ++y) {
    const unsigned char* row = bytes.at(offset + stride * static_cast<std::size_t>(bitmap.height - 1 - y), stride);
    for (int32_t x = 0; x < bitmap.width; ++x) {
      if (bits == 24) {
        out.insert(out.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
      } else {
        out.push_back((row[x / 8] >> (7 - x % 8)) & 1);
      }
    }
  }
}

using NumberedResource = std::pair<unsigned, unsigned short>;  // id, language

BOOL CALLBACK CollectLanguages(HMODULE, LPCWSTR, LPCWSTR name, WORD language, LONG_PTR found) {
  reinterpret_cast<std::vector<NumberedResource>*>(found)->push_back(
      {static_cast<unsigned>(reinterpret_cast<uintptr_t>(name)), language});
  return TRUE;
}

// Only numbered resources: the host asks for resources by number.
BOOL CALLBACK CollectNames(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
  if (IS_INTRESOURCE(name)) EnumResourceLanguagesW(module, type, name, CollectLanguages, found);
  return TRUE;
}

}  // namespace

WindowsResources::WindowsResources(HMODULE module) : module_(module) {
  readAll(kPropertyListType);
  readAll(RT_GROUP_ICON);
  readAll(RT_GROUP_CURSOR);
  readAll(RT_BITMAP);
  readAll(RT_DIALOG);
  readAll(RT_VERSION);
  table_ = {static_cast<int32_t>(resources_.size()), resources_.data()};
}

WindowsResources::Found WindowsResources::load(const wchar_t* type, unsigned id, unsigned short language) const {
  const HRSRC resource = FindResourceExW(module_, type, MAKEINTRESOURCEW(id), language);
  const HGLOBAL loaded = resource ? LoadResource(module_, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {nullptr, 0};
  return {static_cast<const unsigned char*>(data), SizeofResource(module_, resource)};
}

void WindowsResources::readAll(const wchar_t* type) {
  std::vector<NumberedResource> found;
  EnumResourceNamesW(module_, type, CollectNames, reinterpret_cast<LONG_PTR>(&found));
  for (const auto& [id, language] : found) {
    const Found resource = load(type, id, language);
    if (!resource.data) continue;
    if (type == kPropertyListType) {
      add(kResourcePropertyList, id, language, resource.data, resource.size);
    } else if (type == RT_GROUP_ICON) {
      add(kResourceIconGroup, id, language, icon(resource, language), sizeof(ResourceImage));
    } else if (type == RT_GROUP_CURSOR) {
      add(kResourceCursorGroup, id, language, cursor(resource, language), sizeof(ResourceImage));
    } else if (type == RT_BITMAP) {
      add(kResourceBitmap, id, language, bitmap(resource), sizeof(ResourceImage));
    } else if (type == RT_DIALOG) {
      add(kResourceDialog, id, language, dialog(resource), sizeof(ResourceDialog));
    } else if (type == RT_VERSION) {
      add(kResourceVersion, id, language, version(resource), sizeof(ResourceVersion));
    }
  }
}

// Resources that do not read as their type are left out, as if missing.
void WindowsResources::add(uint32_t type, unsigned id, unsigned short language, const void* data, std::size_t size) {
  if (!data || id > 0xFFFF) return;
  resources_.push_back({type, static_cast<uint16_t>(id), language, data, static_cast<uint32_t>(size)});
}

const char* WindowsResources::keep(std::string text) {
  texts_.push_back(std::move(text));
  return texts_.back().c_str();
}

// A group's first image: 24-bit colour pixels, RGB from the top.
const ResourceImage* WindowsResources::icon(Found group, unsigned short language) {
  Bytes entries(group.data, group.size);
  if (entries.word(2) != 1 || entries.word(4) == 0) return nullptr;
  const Found found = load(RT_ICON, entries.word(6 + 12), language);
  Bytes bytes(found.data, found.size);
  const Bitmap header = ReadBitmapHeader(bytes, 0, true);
  if (!found.data || header.bits != 24) return nullptr;
  std::vector<unsigned char> pixels;
  ReadRows(bytes, header.colours, header, 24, pixels);
  if (bytes.broken() || entries.broken()) return nullptr;
  pixels_.push_back(std::move(pixels));
  images_.push_back({header.width, header.height, 24, 0, 0, pixels_.back().data(), nullptr});
  return &images_.back();
}

// A group's first cursor: its hot spot, then a monochrome picture whose
// colour bits give the pixels (1 white) and whose mask the clear ones.
const ResourceImage* WindowsResources::cursor(Found group, unsigned short language) {
  Bytes entries(group.data, group.size);
  if (entries.word(2) != 2 || entries.word(4) == 0) return nullptr;
  const Found found = load(RT_CURSOR, entries.word(6 + 12), language);
  Bytes bytes(found.data, found.size);
  const Bitmap header = ReadBitmapHeader(bytes, 4, true);
  if (!found.data || header.bits != 1) return nullptr;
  std::vector<unsigned char> pixels;
  std::vector<unsigned char> mask;
  ReadRows(bytes, header.colours, header, 1, pixels);
  ReadRows(bytes, header.colours + header.stride * static_cast<std::size_t>(header.height), header, 1, mask);
  if (bytes.broken() || entries.broken()) return nullptr;
  pixels_.push_back(std::move(pixels));
  const unsigned char* pixelData = pixels_.back().data();
  pixels_.push_back(std::move(mask));
  images_.push_back({header.width, header.height, 1, static_cast<int32_t>(bytes.word(0)),
                     static_cast<int32_t>(bytes.word(2)), pixelData, pixels_.back().data()});
  return &images_.back();
}

const ResourceImage* WindowsResources::bitmap(Found found) {
  Bytes bytes(found.data, found.size);
  const Bitmap header = ReadBitmapHeader(bytes, 0, false);
  if (header.bits != 24) return nullptr;
  std::vector<unsigned char> pixels;
  ReadRows(bytes, header.colours, header, 24, pixels);
  if (bytes.broken()) return nullptr;
  pixels_.push_back(std::move(pixels));
  images_.push_back({header.width, header.height, 24, 0, 0, pixels_.back().data(), nullptr});
  return &images_.back();
}

// A dialog template: its window styles and each item's class and styles
// told as the kinds and style bits of the host's dialog records.
const ResourceDialog* WindowsResources::dialog(Found found) {
  Bytes bytes(found.data, found.size);
  const uint32_t style = bytes.doubleWord(0);
  const uint16_t count = bytes.word(8);
  ResourceDialog dialog{};
  dialog.width = static_cast<int16_t>(bytes.word(14));
  dialog.height = static_cast<int16_t>(bytes.word(16));
  dialog.style = ((style & DS_MODALFRAME) ? kDialogStyleModalFrame : 0u) |
                 ((style & WS_CAPTION) == WS_CAPTION ? kDialogStyleCaption : 0u) |
                 ((style & WS_SYSMENU) ? kDialogStyleSystemMenu : 0u);
  std::size_t at = 18;
  uint16_t number = 0;
  bytes.textOrNumber(at, &number);  // menu
  bytes.textOrNumber(at, &number);  // window class
  dialog.title = keep(bytes.text(at));
  dialog.fontName = keep("");
  if (style & DS_SETFONT) {
    dialog.fontSize = bytes.word(at);
    at += 2;
    dialog.fontName = keep(bytes.text(at));
  }
  std::vector<ResourceDialogItem> items;
  for (uint16_t i = 0; i < count && !bytes.broken(); ++i) {
    at = Aligned(at);
    ResourceDialogItem item{};
    const uint32_t itemStyle = bytes.doubleWord(at);
    item.x = static_cast<int16_t>(bytes.word(at + 8));
    item.y = static_cast<int16_t>(bytes.word(at + 10));
    item.width = static_cast<int16_t>(bytes.word(at + 12));
    item.height = static_cast<int16_t>(bytes.word(at + 14));
    const uint16_t id = bytes.word(at + 16);
    item.id = id == kNumberMark ? kDialogItemNoID : id;
    at += 18;
    uint16_t windowClass = 0;
    bytes.textOrNumber(at, &windowClass);
    uint16_t bitmapId = 0;
    item.text = keep(bytes.textOrNumber(at, &bitmapId));
    at += 2 + bytes.word(at);  // creation data
    if (windowClass == kButtonClass) {
      switch (itemStyle & kButtonKinds) {
        case BS_DEFPUSHBUTTON: item.kind = kDialogItemDefaultPushButton; break;
        case BS_AUTORADIOBUTTON: item.kind = kDialogItemRadioButton; break;
        case BS_GROUPBOX: item.kind = kDialogItemGroupFrame; break;
        default: item.kind = kDialogItemPushButton; break;
      }
    } else if (windowClass == kStaticClass) {
      const bool picture = (itemStyle & kStaticKinds) == SS_BITMAP;
      item.kind = picture ? kDialogItemPicture : kDialogItemStaticText;
      item.bitmapID = picture ? bitmapId : 0;
    } else if (windowClass == kEditClass) {
      item.kind = kDialogItemEditText;
      item.style = ((itemStyle & WS_BORDER) ? kDialogItemStyleBorder : 0u) |
                   ((itemStyle & ES_AUTOHSCROLL) ? kDialogItemStyleAutoHScroll : 0u);
    } else {
      return nullptr;  // a class the host's dialogs do not have
    }
    items.push_back(item);
  }
  if (bytes.broken()) return nullptr;
  items_.push_back(std::move(items));
  dialog.itemCount = static_cast<int32_t>(items_.back().size());
  dialog.items = items_.back().data();
  dialogs_.push_back(dialog);
  return &dialogs_.back();
}

// The fixed file version and the texts of the version record's tree of
// blocks (length, value length, kind, key, value, children).
const ResourceVersion* WindowsResources::version(Found found) {
  Bytes bytes(found.data, found.size);
  std::map<std::string, std::string> texts;
  const auto walk = [&](const auto& self, std::size_t at, std::size_t end, int depth) -> void {
    while (at + 6 <= end && !bytes.broken() && depth < 4) {
      const std::size_t length = bytes.word(at);
      const std::size_t valueLength = bytes.word(at + 2);
      const bool isText = bytes.word(at + 4) == 1;
      if (length < 6 || at + length > end) return;
      std::size_t cursor = at + 6;
      const std::string key = bytes.text(cursor);
      cursor = Aligned(cursor);
      if (isText && valueLength > 0) {
        std::size_t value = cursor;
        texts[key] = bytes.text(value);
      }
      cursor = Aligned(cursor + valueLength * (isText ? 2 : 1));
      self(self, cursor, at + length, depth + 1);
      at = Aligned(at + length);
    }
  };
  std::size_t at = 6;
  if (bytes.text(at) != "VS_VERSION_INFO") return nullptr;
  const std::size_t fixed = Aligned(at);
  if (bytes.doubleWord(fixed) != 0xFEEF04BDu) return nullptr;
  const uint32_t high = bytes.doubleWord(fixed + 8);
  const uint32_t low = bytes.doubleWord(fixed + 12);
  walk(walk, Aligned(fixed + bytes.word(2)), std::min<std::size_t>(bytes.word(0), bytes.size()), 0);
  if (bytes.broken()) return nullptr;
  versions_.push_back({{static_cast<uint16_t>(high >> 16), static_cast<uint16_t>(high),
                        static_cast<uint16_t>(low >> 16), static_cast<uint16_t>(low)},
                       keep(texts["FileDescription"]), keep(texts["ProductName"]), keep(texts["InternalName"]),
                       keep(texts["OriginalFilename"])});
  return &versions_.back();
}

}  // namespace hostwindows
