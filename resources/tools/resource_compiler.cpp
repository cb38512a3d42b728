// Build tool: turns the module's resource description and its PPM images
// into a C++ source holding the resource table and the exported directory
// function, or, for Windows, into a resource script for windres with the
// icon, cursor, bitmap and property-list files it names written beside it.
// Either way it also writes a plain C header of the ids the description
// names ("define NAME NUMBER"), which the code includes.
// Usage: resource_compiler DESCRIPTION OUTPUT.cpp|OUTPUT.rc OUTPUT.h
// Image paths in the description are relative to the description's folder.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

// One line of the description cut into words; quoted texts are one word.
std::vector<std::string> Words(const std::string& line, const std::string& where) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      const std::size_t end = line.find('"', i + 1);
      if (end == std::string::npos) Fail(where, "unterminated text");
      words.push_back(line.substr(i, end - i + 1));
      i = end + 1;
    } else {
      std::size_t end = i;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

bool IsText(const std::string& word) { return word.size() >= 2 && word.front() == '"'; }

std::string TextOf(const std::string& word, const std::string& where) {
  if (!IsText(word)) Fail(where, "expected a quoted text, found " + word);
  return word.substr(1, word.size() - 2);
}

long NumberOf(const std::string& word, const std::string& where) {
  try {
    std::size_t used = 0;
    const long value = std::stol(word, &used, 0);
    if (used == word.size()) return value;
  } catch (const std::exception&) {
  }
  Fail(where, "expected a number, found " + word);
}

std::string CString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string ByteArray(const std::vector<unsigned char>& bytes) {
  std::ostringstream out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out << (i % 24 == 0 ? "\n    " : " ") << static_cast<int>(bytes[i]) << ',';
  }
  return out.str();
}

struct Rgb {
  unsigned char r, g, b;
};

struct Ppm {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
};

// Next header number of a PPM file, skipping white space and comments.
int PpmNumber(std::istream& in, const std::string& where) {
  for (;;) {
    const int c = in.peek();
    if (c == '#') {
      std::string comment;
      std::getline(in, comment);
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      in.get();
    } else {
      break;
    }
  }
  int value = -1;
  if (!(in >> value) || value < 0) Fail(where, "bad PPM header or sample");
  return value;
}

Ppm ReadPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(path, "cannot open");
  std::string magic(2, ' ');
  in.read(&magic[0], 2);
  if (magic != "P3" && magic != "P6") Fail(path, "not a PPM file (P3 or P6)");
  Ppm image;
  image.width = PpmNumber(in, path);
  image.height = PpmNumber(in, path);
  if (PpmNumber(in, path) != 255) Fail(path, "only 8-bit samples are read");
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  image.pixels.resize(count);
  if (magic == "P6") {
    in.get();  // the one white-space character before the samples
    in.read(reinterpret_cast<char*>(image.pixels.data()), static_cast<std::streamsize>(count * 3));
    if (!in) Fail(path, "too few pixels");
  } else {
    for (Rgb& pixel : image.pixels) {
      pixel.r = static_cast<unsigned char>(PpmNumber(in, path));
      pixel.g = static_cast<unsigned char>(PpmNumber(in, path));
      pixel.b = static_cast<unsigned char>(PpmNumber(in, path));
    }
  }
  return image;
}

void PutLittleEndian(std::vector<unsigned char>& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A device-independent bitmap's header, as icons, cursors and bitmaps carry it.
void PutBitmapInfoHeader(std::vector<unsigned char>& bytes, int width, int height, int bitsPerPixel,
                         uint32_t imageSize, uint32_t paletteColours) {
  PutLittleEndian(bytes, 40, 4);
  PutLittleEndian(bytes, static_cast<uint32_t>(width), 4);
  PutLittleEndian(bytes, static_cast<uint32_t>(height), 4);
  PutLittleEndian(bytes, 1, 2);
  PutLittleEndian(bytes, static_cast<uint32_t>(bitsPerPixel), 2);
  PutLittleEndian(bytes, 0, 4);  // uncompressed
  PutLittleEndian(bytes, imageSize, 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, paletteColours, 4);
  PutLittleEndian(bytes, 0, 4);
}

// Rows of a bitmap are stored bottom-up, each padded to four bytes.
std::size_t RowBytes(int width, int bitsPerPixel) { return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4; }

std::vector<unsigned char> ColourRows(const Ppm& image) {
  std::vector<unsigned char> rows;
  const std::size_t stride = RowBytes(image.width, 24);
  for (int y = image.height - 1; y >= 0; --y) {
    const std::size_t start = rows.size();
    for (int x = 0; x < image.width; ++x) {
      const Rgb& pixel = image.pixels[static_cast<std::size_t>(y) * image.width + x];
      rows.insert(rows.end(), {pixel.b, pixel.g, pixel.r});
    }
    rows.resize(start + stride, 0);
  }
  return rows;
}

// One bit a pixel, set where bitOf answers true; rows bottom-up.
template <typename BitOf>
std::vector<unsigned char> BitRows(int width, int height, BitOf bitOf) {
  std::vector<unsigned char> rows;
  const std::size_t stride = RowBytes(width, 1);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t start = rows.size();
    rows.resize(start + stride, 0);
    for (int x = 0; x < width; ++x) {
      if (bitOf(static_cast<std::size_t>(y) * width + x)) rows[start + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
    }
  }
  return rows;
}

// An icon file (type 1) or cursor file (type 2) holding one image; for a
// cursor the two words after the colour count are its hot spot.
std::vector<unsigned char> IconFile(int type, int width, int height, int planesOrHotX, int bitsOrHotY,
                                    const std::vector<unsigned char>& image) {
  std::vector<unsigned char> bytes;
  PutLittleEndian(bytes, 0, 2);
  PutLittleEndian(bytes, static_cast<uint32_t>(type), 2);
  PutLittleEndian(bytes, 1, 2);
  bytes.push_back(static_cast<unsigned char>(width));
  bytes.push_back(static_cast<unsigned char>(height));
  bytes.push_back(0);
  bytes.push_back(0);
  PutLittleEndian(bytes, static_cast<uint32_t>(planesOrHotX), 2);
  PutLittleEndian(bytes, static_cast<uint32_t>(bitsOrHotY), 2);
  PutLittleEndian(bytes, static_cast<uint32_t>(image.size()), 4);
  PutLittleEndian(bytes, 22, 4);
  bytes.insert(bytes.end(), image.begin(), image.end());
  return bytes;
}

// A resource script's quoted text.
std::string RcString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

uint32_t FourCharacters(const std::string& word, const std::string& where) {
  if (word.size() != 4) Fail(where, "expected four characters, found " + word);
  return (uint32_t(uint8_t(word[0])) << 24) | (uint32_t(uint8_t(word[1])) << 16) |
         (uint32_t(uint8_t(word[2])) << 8) | uint32_t(uint8_t(word[3]));
}

class Compiler {
 public:
  Compiler(std::string descriptionPath) : path_(std::move(descriptionPath)) {
    const std::size_t slash = path_.find_last_of('/');
    folder_ = slash == std::string::npos ? "" : path_.substr(0, slash + 1);
  }

  void Compile() {
    std::ifstream in(path_);
    if (!in) Fail(path_, "cannot open");
    std::string line;
    while (std::getline(in, line)) {
      ++lineNumber_;
      const std::vector<std::string> words = Words(line, Where());
      if (!words.empty()) Statement(words, in);
    }
  }


 private:
  std::string Where() const { return path_ + ":" + std::to_string(lineNumber_); }

  // The lines of a block up to its "end", cut into words.
  std::vector<std::vector<std::string>> Block(std::istream& in) {
    std::vector<std::vector<std::string>> lines;
    std::string line;
    while (std::getline(in, line)) {
      ++lineNumber_;
      std::vector<std::string> words = Words(line, Where());
      if (words.empty()) continue;
      if (words[0] == "end") return lines;
      lines.push_back(std::move(words));
    }
    Fail(Where(), "block without end");
  }

  // A number, or a name given one by "define NAME NUMBER" further up.
  long Value(const std::string& word, const std::string& where) const {
    const auto named = names_.find(word);
    return named != names_.end() ? named->second : NumberOf(word, where);
  }

  void Statement(const std::vector<std::string>& words, std::istream& in) {
    const std::string& keyword = words[0];
    if (keyword == "define" && words.size() == 3) {
      if (!names_.emplace(words[1], NumberOf(words[2], Where())).second) Fail(Where(), words[1] + " defined twice");
      header_ += "  " + words[1] + " = " + words[2] + ",\n";
    } else if (keyword == "language" && words.size() == 2) {
      language_ = static_cast<int>(Value(words[1], Where()));
    } else if (keyword == "property-list" && words.size() == 2) {
      PropertyList(Value(words[1], Where()), Block(in));
    } else if (keyword == "icon" && words.size() == 3) {
      const Ppm image = Image("kResourceIconGroup", "Icon", Value(words[1], Where()), TextOf(words[2], Where()));
      IconScript(std::to_string(Value(words[1], Where())), image);
    } else if (keyword == "bitmap" && words.size() == 3) {
      const Ppm image = Image("kResourceBitmap", "Bitmap", Value(words[1], Where()), TextOf(words[2], Where()));
      BitmapScript(std::to_string(Value(words[1], Where())), image);
    } else if (keyword == "cursor" && words.size() == 6 && words[3] == "hotspot") {
      Cursor(Value(words[1], Where()), TextOf(words[2], Where()), Value(words[4], Where()),
             Value(words[5], Where()));
    } else if (keyword == "dialog") {
      Dialog(words, Block(in));
    } else if (keyword == "version" && words.size() == 2) {
      Version(Value(words[1], Where()), Block(in));
    } else {
      Fail(Where(), "unknown statement: " + keyword);
    }
  }

  void AddResource(const std::string& type, long id, const std::string& data, const std::string& size) {
    std::ostringstream entry;
    entry << "    {" << type << ", " << id << ", " << language_ << ", " << data << ", " << size << "},\n";
    table_ += entry.str();
  }

  // Little-endian: a version word, the property count, then per property the
  // vendor and key (four characters as a 32-bit integer), id 0, data length
  // and the data padded to four bytes; one zero byte closes the list.
  void PropertyList(long id, const std::vector<std::vector<std::string>>& lines) {
    std::vector<unsigned char> bytes;
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, static_cast<uint32_t>(lines.size()), 4);
    for (const auto& words : lines) {
      if (words.size() != 5 || words[0] != "property") Fail(Where(), "property VENDOR KEY KIND VALUE");
      PutLittleEndian(bytes, FourCharacters(words[1], Where()), 4);
      PutLittleEndian(bytes, FourCharacters(words[2], Where()), 4);
      PutLittleEndian(bytes, 0, 4);
      std::vector<unsigned char> data;
      if (words[3] == "fourcc") {
        PutLittleEndian(data, FourCharacters(words[4], Where()), 4);
      } else if (words[3] == "int") {
        PutLittleEndian(data, static_cast<uint32_t>(Value(words[4], Where())), 4);
      } else if (words[3] == "text") {
        const std::string text = TextOf(words[4], Where());
        data.assign(text.begin(), text.end());
        data.push_back(0);
      } else {
        Fail(Where(), "property kinds are fourcc, int and text");
      }
      while (data.size() % 4 != 0) data.push_back(0);
      PutLittleEndian(bytes, static_cast<uint32_t>(data.size()), 4);
      bytes.insert(bytes.end(), data.begin(), data.end());
    }
    bytes.push_back(0);
    const std::string name = "kPropertyList" + std::to_string(id);
    definitions_ += "const unsigned char " + name + "[] = {" + ByteArray(bytes) + "\n};\n\n";
    AddResource("kResourcePropertyList", id, name, "sizeof " + name);
    ScriptFile(std::to_string(id) + " PIPL", "pipl-" + std::to_string(id) + ".bin", bytes);
  }

  Ppm Image(const std::string& type, const std::string& prefix, long id, const std::string& file) {
    Ppm image = ReadPpm(folder_ + file);
    std::vector<unsigned char> bytes;
    for (const Rgb& pixel : image.pixels) bytes.insert(bytes.end(), {pixel.r, pixel.g, pixel.b});
    const std::string name = "k" + prefix + std::to_string(id);
    definitions_ += "const unsigned char " + name + "Pixels[] = {" + ByteArray(bytes) + "\n};\n";
    definitions_ += "const ResourceImage " + name + " = {" + std::to_string(image.width) + ", " +
                    std::to_string(image.height) + ", 24, 0, 0, " + name + "Pixels, nullptr};\n\n";
    AddResource(type, id, "&" + name, "sizeof " + name);
    return image;
  }

  // A resource of the script read from a file written beside it.
  void ScriptFile(const std::string& statement, const std::string& file, std::vector<unsigned char> bytes) {
    script_ += statement + " " + RcString(file) + "\n";
    files_[file] = std::move(bytes);
  }

  // An opaque 24-bit icon: colour rows, then an all-clear mask.
  void IconScript(const std::string& id, const Ppm& image) {
    std::vector<unsigned char> dib;
    std::vector<unsigned char> colour = ColourRows(image);
    std::vector<unsigned char> mask = BitRows(image.width, image.height, [](std::size_t) { return false; });
    PutBitmapInfoHeader(dib, image.width, image.height * 2, 24, static_cast<uint32_t>(colour.size() + mask.size()), 0);
    dib.insert(dib.end(), colour.begin(), colour.end());
    dib.insert(dib.end(), mask.begin(), mask.end());
    ScriptFile(id + " ICON", "icon-" + id + ".ico", IconFile(1, image.width, image.height, 1, 24, dib));
  }

  void BitmapScript(const std::string& id, const Ppm& image) {
    const std::vector<unsigned char> colour = ColourRows(image);
    std::vector<unsigned char> file = {'B', 'M'};
    PutLittleEndian(file, static_cast<uint32_t>(54 + colour.size()), 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 54, 4);
    PutBitmapInfoHeader(file, image.width, image.height, 24, static_cast<uint32_t>(colour.size()), 0);
    file.insert(file.end(), colour.begin(), colour.end());
    ScriptFile(id + " BITMAP", "bitmap-" + id + ".bmp", file);
  }

  void Cursor(long id, const std::string& file, long hotX, long hotY) {
    const std::string where = folder_ + file;
    const Ppm image = ReadPpm(where);
    std::vector<unsigned char> pixels;
    std::vector<unsigned char> mask;
    for (const Rgb& pixel : image.pixels) {
      const bool transparent = pixel.r == 255 && pixel.g == 0 && pixel.b == 255;
      const bool black = pixel.r == 0 && pixel.g == 0 && pixel.b == 0;
      const bool white = pixel.r == 255 && pixel.g == 255 && pixel.b == 255;
      if (!transparent && !black && !white) Fail(where, "cursors are black, white and magenta only");
      pixels.push_back(white ? 1 : 0);
      mask.push_back(transparent ? 1 : 0);
    }
    const std::string name = "kCursor" + std::to_string(id);
    definitions_ += "const unsigned char " + name + "Pixels[] = {" + ByteArray(pixels) + "\n};\n";
    definitions_ += "const unsigned char " + name + "Mask[] = {" + ByteArray(mask) + "\n};\n";
    definitions_ += "const ResourceImage " + name + " = {" + std::to_string(image.width) + ", " +
                    std::to_string(image.height) + ", 1, " + std::to_string(hotX) + ", " +
                    std::to_string(hotY) + ", " + name + "Pixels, " + name + "Mask};\n\n";
    AddResource("kResourceCursorGroup", id, "&" + name, "sizeof " + name);

    // Monochrome: a black and white palette, the colour bits, then the mask.
    const std::vector<unsigned char> colour = BitRows(image.width, image.height, [&](std::size_t i) { return pixels[i] != 0; });
    const std::vector<unsigned char> clear = BitRows(image.width, image.height, [&](std::size_t i) { return mask[i] != 0; });
    std::vector<unsigned char> dib;
    PutBitmapInfoHeader(dib, image.width, image.height * 2, 1, static_cast<uint32_t>(colour.size() + clear.size()), 2);
    PutLittleEndian(dib, 0x00000000u, 4);
    PutLittleEndian(dib, 0x00FFFFFFu, 4);
    dib.insert(dib.end(), colour.begin(), colour.end());
    dib.insert(dib.end(), clear.begin(), clear.end());
    const std::string number = std::to_string(id);
    ScriptFile(number + " CURSOR", "cursor-" + number + ".cur",
               IconFile(2, image.width, image.height, static_cast<int>(hotX), static_cast<int>(hotY), dib));
  }

  // dialog ID size W H caption "TITLE" font SIZE "FACE" style STYLE...
  void Dialog(const std::vector<std::string>& words, const std::vector<std::vector<std::string>>& lines) {
    const std::string where = Where();
    if (words.size() < 11 || words[2] != "size" || words[5] != "caption" || words[7] != "font" ||
        words[10] != "style") {
      Fail(where, "dialog ID size W H caption \"TITLE\" font SIZE \"FACE\" style STYLE...");
    }
    static const std::map<std::string, std::string> dialogStyles = {
        {"modal-frame", "kDialogStyleModalFrame"},
        {"caption", "kDialogStyleCaption"},
        {"system-menu", "kDialogStyleSystemMenu"}};
    static const std::map<std::string, std::string> scriptStyles = {
        {"modal-frame", "DS_MODALFRAME"}, {"caption", "WS_CAPTION"}, {"system-menu", "WS_SYSMENU"}};
    const long id = Value(words[1], where);
    const std::string name = "kDialog" + std::to_string(id);
    const std::string title = TextOf(words[6], where);
    script_ += std::to_string(id) + " DIALOG 0, 0, " + std::to_string(Value(words[3], where)) + ", " +
               std::to_string(Value(words[4], where)) + "\nSTYLE WS_POPUP | " +
               Styles(words, 11, scriptStyles, where, "0") + "\n" +
               (title.empty() ? "" : "CAPTION " + RcString(title) + "\n") + "FONT " +
               std::to_string(Value(words[8], where)) + ", " + RcString(TextOf(words[9], where)) + "\nBEGIN\n";
    std::string items;
    for (const auto& item : lines) items += DialogItem(item);
    script_ += "END\n\n";
    definitions_ += "const ResourceDialogItem " + name + "Items[] = {\n" + items + "};\n";
    definitions_ += "const ResourceDialog " + name + " = {" + CString(TextOf(words[6], where)) + ", " +
                    std::to_string(Value(words[3], where)) + ", " +
                    std::to_string(Value(words[4], where)) + ", " +
                    CString(TextOf(words[9], where)) + ", " +
                    std::to_string(Value(words[8], where)) + ", " +
                    Styles(words, 11, dialogStyles, where) + ", " + std::to_string(lines.size()) + ", " +
                    name + "Items};\n\n";
    AddResource("kResourceDialog", id, "&" + name, "sizeof " + name);
  }

  // KIND "TEXT" ID X Y W H [STYLE...], or BITMAP BITMAP-ID ID X Y W H.
  std::string DialogItem(const std::vector<std::string>& words) {
    static const std::map<std::string, std::string> kinds = {
        {"PUSHBUTTON", "kDialogItemPushButton"},
        {"DEFPUSHBUTTON", "kDialogItemDefaultPushButton"},
        {"LTEXT", "kDialogItemStaticText"},
        {"EDITTEXT", "kDialogItemEditText"},
        {"AUTORADIOBUTTON", "kDialogItemRadioButton"},
        {"BITMAP", "kDialogItemPicture"},
        {"GROUPBOX", "kDialogItemGroupFrame"}};
    static const std::map<std::string, std::string> itemStyles = {
        {"border", "kDialogItemStyleBorder"}, {"autohscroll", "kDialogItemStyleAutoHScroll"}};
    const std::string where = Where();
    const auto kind = kinds.find(words[0]);
    if (kind == kinds.end() || words.size() < 7) Fail(where, "bad dialog item");
    const bool picture = words[0] == "BITMAP";
    std::ostringstream item;
    item << "    {" << Value(words[2], where) << ", " << kind->second << ", "
         << (picture ? "\"\"" : CString(TextOf(words[1], where)));
    for (int i = 3; i < 7; ++i) item << ", " << Value(words[i], where);
    item << ", " << Styles(words, 7, itemStyles, where) << ", "
         << (picture ? Value(words[1], where) : 0) << "},\n";

    static const std::map<std::string, std::string> scriptStyles = {
        {"border", "WS_BORDER"}, {"autohscroll", "ES_AUTOHSCROLL"}};
    const std::string itemId = std::to_string(Value(words[2], where));
    std::string geometry;
    for (int i = 3; i < 7; ++i) geometry += ", " + std::to_string(Value(words[i], where));
    const std::string styles = words.size() > 7 ? ", " + Styles(words, 7, scriptStyles, where, "0") : "";
    if (picture) {
      script_ += "  CONTROL " + std::to_string(Value(words[1], where)) + ", " + itemId +
                 ", 0x82 /* Static */, SS_BITMAP" + geometry + "\n";
    } else if (words[0] == "EDITTEXT") {
      script_ += "  EDITTEXT " + itemId + geometry + styles + "\n";
    } else {
      script_ += "  " + words[0] + " " + RcString(TextOf(words[1], where)) + ", " + itemId + geometry + styles + "\n";
    }
    return item.str();
  }

  // The styles named from words[first] on, joined with '|'; none is the text for no style.
  static std::string Styles(const std::vector<std::string>& words, std::size_t first,
                            const std::map<std::string, std::string>& known, const std::string& where,
                            const std::string& none = "0u") {
    std::string styles;
    for (std::size_t i = first; i < words.size(); ++i) {
      const auto style = known.find(words[i]);
      if (style == known.end()) Fail(where, "unknown style " + words[i]);
      styles += (styles.empty() ? "" : " | ") + style->second;
    }
    return styles.empty() ? none : styles;
  }

  void Version(long id, const std::vector<std::vector<std::string>>& lines) {
    std::map<std::string, std::vector<std::string>> fields;
    for (const auto& words : lines) fields[words[0]] = std::vector<std::string>(words.begin() + 1, words.end());
    const std::string where = Where();
    const auto text = [&](const char* key) {
      const auto field = fields.find(key);
      if (field == fields.end() || field->second.size() != 1) Fail(where, std::string("version needs ") + key);
      return CString(TextOf(field->second[0], where));
    };
    const auto number = fields.find("file-version");
    if (number == fields.end() || number->second.size() != 4) Fail(where, "file-version A B C D");
    std::string version;
    for (const std::string& part : number->second) {
      version += (version.empty() ? "" : ", ") + std::to_string(Value(part, where));
    }
    const std::string name = "kVersion" + std::to_string(id);
    definitions_ += "const ResourceVersion " + name + " = {{" + version + "}, " + text("file-description") +
                    ", " + text("product-name") + ", " + text("internal-name") + ", " +
                    text("original-filename") + "};\n\n";
    AddResource("kResourceVersion", id, "&" + name, "sizeof " + name);

    std::string dotted = version;
    for (std::size_t comma; (comma = dotted.find(", ")) != std::string::npos;) dotted.replace(comma, 2, ".");
    const auto value = [&](const char* key, const std::string& quoted) {
      return "      VALUE \"" + std::string(key) + "\", " + RcString(quoted.substr(1, quoted.size() - 2)) + "\n";
    };
    char block[9];
    std::snprintf(block, sizeof block, "%04X04E4", static_cast<unsigned>(language_));
    script_ += std::to_string(id) + " VERSIONINFO\nFILEVERSION " + version + "\nPRODUCTVERSION " + version +
               "\nFILEOS VOS_NT_WINDOWS32\nFILETYPE VFT_DLL\nBEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"" +
               block + "\"\n    BEGIN\n" + value("FileDescription", text("file-description")) +
               value("FileVersion", "\"" + dotted + "\"") + value("InternalName", text("internal-name")) +
               value("OriginalFilename", text("original-filename")) + value("ProductName", text("product-name")) +
               value("ProductVersion", "\"" + dotted + "\"") +
               "    END\n  END\n  BLOCK \"VarFileInfo\"\n  BEGIN\n    VALUE \"Translation\", " +
               std::to_string(language_) + ", 1252\n  END\nEND\n";
  }

 public:
  // The ids as enumerators, so C and C++ sources take them alike.
  std::string Header() const {
    return "/* Made by resource_compiler from " + path_ +
           "; edit that file instead. */\n\n"
           "#ifndef MIRTIL_RESOURCE_IDS_H\n#define MIRTIL_RESOURCE_IDS_H\n\nenum MirtilResourceId {\n" +
           header_ + "};\n\n#endif\n";
  }

  // The Windows resource script; the files it names are in files().
  std::string Script() const {
    return "// Made by resource_compiler from " + path_ + "; edit that file instead.\n\n" +
           "#include <windows.h>\n\n" + "LANGUAGE " + std::to_string(language_ & 0x3FF) + ", " +
           std::to_string(language_ >> 10) + "\n\n" + script_;
  }
  const std::map<std::string, std::vector<unsigned char>>& files() const { return files_; }

  std::string Output() const {
    return "// Made by resource_compiler from " + path_ +
           "; edit that file instead.\n\n"
           "#include \"hostapi/HostResources.h\"\n\n"
           "#if defined(_WIN32)\n#define RESOURCE_EXPORT __declspec(dllexport)\n#else\n"
           "#define RESOURCE_EXPORT __attribute__((visibility(\"default\")))\n#endif\n\n"
           "namespace {\n\n" +
           definitions_ + "const ModuleResource kResources[] = {\n" + table_ +
           "};\n\nconst ModuleResourceTable kResourceTable = {\n"
           "    static_cast<int32_t>(sizeof kResources / sizeof kResources[0]), kResources};\n\n"
           "}  // namespace\n\n"
           "extern \"C\" RESOURCE_EXPORT const ModuleResourceTable* ModuleResourceDirectory(void) {\n"
           "  return &kResourceTable;\n}\n";
  }

 private:
  std::string path_;
  std::string folder_;
  std::map<std::string, long> names_;
  std::string header_;
  int lineNumber_ = 0;
  int language_ = 1033;
  std::string definitions_;
  std::string table_;
  std::string script_;
  std::map<std::string, std::vector<unsigned char>> files_;
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) Fail(path, "cannot write");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: resource_compiler DESCRIPTION OUTPUT.cpp|OUTPUT.rc OUTPUT.h\n";
    return 2;
  }
  try {
    Compiler compiler(argv[1]);
    compiler.Compile();
    const std::string output = argv[2];
    if (EndsWith(output, ".rc")) {
      // The files the script names go beside it, as windres looks for them there.
      const std::size_t slash = output.find_last_of('/');
      const std::string folder = slash == std::string::npos ? "" : output.substr(0, slash + 1);
      for (const auto& [name, bytes] : compiler.files()) WriteFile(folder + name, std::string(bytes.begin(), bytes.end()));
      WriteFile(output, compiler.Script());
    } else {
      WriteFile(output, compiler.Output());
    }
    WriteFile(argv[3], compiler.Header());
  } catch (const std::exception& error) {
    std::cerr << "resource_compiler: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
