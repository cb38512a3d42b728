#include "ovini.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ovlog.h"
#include "ovmem.h"
#include "ovstrutil.h"

namespace {

struct CacheRecord {
  char* name;
  char* value;
  CacheRecord* next;
};

struct CacheSection {
  char* name;
  CacheRecord* records;
  CacheSection* next;
};

struct FileCache {
  char* file;
  int16_t loaded;
  CacheSection* sections;
  FileCache* next;
};

FileCache* file_caches = nullptr;  // newest first
bool cache_in_use = true;

// ---- Reading lines ----

enum class LineKind { Skip, Section, Record, Invalid };

struct IniLine {
  LineKind kind;
  const char* name;
  const char* value;
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

bool is_valid_name(const char* name) {
  if (!*name) return false;
  for (; *name; ++name) {
    const char c = *name;
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '+' && c != '-' && c != '_' && c != '.') return false;
  }
  return true;
}

// Cuts blanks from both ends of text in place.
char* trim(char* text) {
  while (is_blank(*text)) ++text;
  size_t length = std::strlen(text);
  while (length > 0 && is_blank(text[length - 1])) text[--length] = '\0';
  return text;
}

IniLine parse_section(char* text) {
  text[std::strlen(text) - 1] = '\0';
  char* name = trim(text + 1);
  if (!is_valid_name(name)) return {LineKind::Invalid, nullptr, nullptr};
  return {LineKind::Section, name, nullptr};
}

IniLine parse_record(char* text) {
  const IniLine invalid = {LineKind::Invalid, nullptr, nullptr};
  char* value = text;
  while (*value && !is_blank(*value)) ++value;
  if (*value) *value++ = '\0';
  if (!is_valid_name(text)) return invalid;
  while (is_blank(*value)) ++value;
  if (*value == '"') {
    char* closing = std::strchr(value + 1, '"');
    if (!closing || closing[1] != '\0') return invalid;
    *closing = '\0';
    return {LineKind::Record, text, value + 1};
  }
  for (const char* c = value; *c; ++c) {
    if (is_blank(*c)) return invalid;
  }
  return {LineKind::Record, text, value};
}

IniLine parse_line(char* line) {
  if (line[0] == '#' || line[0] == ';') return {LineKind::Skip, nullptr, nullptr};
  char* text = trim(line);
  const size_t length = std::strlen(text);
  if (length == 0) return {LineKind::Skip, nullptr, nullptr};
  if (text[0] == '[' && text[length - 1] == ']' && length >= 2) return parse_section(text);
  return parse_record(text);
}

// Hands out the sections and records of an open file; names and values stay
// valid until the next call.
class IniLineReader {
 public:
  IniLineReader(std::FILE* file, const char* file_name) : file_(file), file_name_(file_name) {}

  // False at the end of the file. Invalid lines are reported and skipped.
  bool Next(IniLine& line) {
    while (std::fgets(raw_, sizeof raw_, file_)) {
      size_t length = std::strlen(raw_);
      if (length > 0 && raw_[length - 1] == '\n') {
        raw_[--length] = '\0';
        if (length > 0 && raw_[length - 1] == '\r') raw_[--length] = '\0';
      } else {
        log_message(LOG_CONT, "read_ini_record", "missing newline(maybe line too long?): %s", raw_);
      }
      std::memcpy(parsed_, raw_, length + 1);
      line = parse_line(parsed_);
      if (line.kind == LineKind::Invalid) {
        log_message(LOG_CONT, "read_ini_record", "invalid record in file %s (%s)", file_name_, raw_);
      } else if (line.kind != LineKind::Skip) {
        return true;
      }
    }
    return false;
  }

 private:
  std::FILE* file_;
  const char* file_name_;
  char raw_[1024];
  char parsed_[1024];
};

// ---- The cache ----

CacheSection* find_section(const FileCache* cache, const char* name) {
  for (CacheSection* section = cache->sections; section; section = section->next) {
    if (std::strcmp(section->name, name) == 0) return section;
  }
  return nullptr;
}

CacheRecord* find_record(const CacheSection* section, const char* name) {
  for (CacheRecord* record = section->records; record; record = record->next) {
    if (std::strcmp(record->name, name) == 0) return record;
  }
  return nullptr;
}

CacheSection* find_or_add_section(FileCache* cache, const char* name) {
  if (CacheSection* existing = find_section(cache, name)) return existing;
  auto* section = static_cast<CacheSection*>(alloc_mem(sizeof(CacheSection), "cache s"));
  if (!section) return nullptr;
  section->name = string_duplicate_as(name, "cache s name");
  if (!section->name) {
    free_mem(section);
    return nullptr;
  }
  section->records = nullptr;
  section->next = cache->sections;
  cache->sections = section;
  return section;
}

bool add_record(CacheSection* section, const char* name, const char* value) {
  auto* record = static_cast<CacheRecord*>(alloc_mem(sizeof(CacheRecord), "cache r"));
  if (!record) return false;
  record->name = string_duplicate_as(name, "cache r name");
  record->value = string_duplicate_as(value, "cache r value");
  if (!record->name || !record->value) {
    free_mem(record->name);
    free_mem(record->value);
    free_mem(record);
    return false;
  }
  record->next = section->records;
  section->records = record;
  return true;
}

void release_sections(FileCache* cache) {
  while (CacheSection* section = cache->sections) {
    while (CacheRecord* record = section->records) {
      section->records = record->next;
      free_mem(record->name);
      free_mem(record->value);
      free_mem(record);
    }
    cache->sections = section->next;
    free_mem(section->name);
    free_mem(section);
  }
}

FileCache* find_or_add_cache(const char* file) {
  for (FileCache* cache = file_caches; cache; cache = cache->next) {
    if (std::strcmp(cache->file, file) == 0) return cache;
  }
  auto* cache = static_cast<FileCache*>(alloc_mem(sizeof(FileCache), "cache c"));
  if (!cache) return nullptr;
  cache->file = string_duplicate_as(file, "cache c name");
  if (!cache->file) {
    free_mem(cache);
    return nullptr;
  }
  cache->loaded = 0;
  cache->sections = nullptr;
  cache->next = file_caches;
  file_caches = cache;
  return cache;
}

// Records that come before any section header belong nowhere and are ignored.
bool load_cache(FileCache* cache) {
  std::FILE* file = std::fopen(cache->file, "r");
  if (!file) {
    log_message(LOG_CONT, "load_cache", "cannot open file (%s)", cache->file);
    return false;
  }
  IniLineReader reader(file, cache->file);
  CacheSection* current = nullptr;
  bool complete = true;
  IniLine line;
  while (complete && reader.Next(line)) {
    if (line.kind == LineKind::Section) {
      current = find_or_add_section(cache, line.name);
      if (!current) {
        log_message(LOG_CONT, "load_cache", "cannot add new cache section");
        complete = false;
      }
    } else if (current && !find_record(current, line.name) &&
               !add_record(current, line.name, line.value)) {
      log_message(LOG_CONT, "load_cache", "cannot add new cache record");
      complete = false;
    }
  }
  if (std::fclose(file) != 0) log_message(LOG_CONT, "load_cache", "cannot fclose file");
  if (!complete) {
    // Stays unloaded, so that the next request tries again.
    release_sections(cache);
    return false;
  }
  cache->loaded = 1;
  return true;
}

// ---- Answering requests ----

// The copy handed to the caller is named after the section and the name.
char* copy_value(const char* section, const char* name, const char* value) {
  const size_t block_name_size = std::strlen(section) + std::strlen(name) + 2;
  char* block_name = static_cast<char*>(alloc_mem(static_cast<unsigned>(block_name_size), "getini"));
  char* copy = nullptr;
  if (block_name) {
    std::snprintf(block_name, block_name_size, "%s:%s", section, name);
    copy = string_duplicate_as(value, block_name);
    free_mem(block_name);
  }
  if (!copy) log_message(LOG_CONT, "getini", "out of memory");
  return copy;
}

char* read_value_from_cache(const char* file, const char* section, const char* name) {
  FileCache* cache = find_or_add_cache(file);
  if (!cache) {
    log_message(LOG_CONT, "getini", "cannot create cache for ini file: %s", file);
    return nullptr;
  }
  if (!cache->loaded && !load_cache(cache)) {
    log_message(LOG_CONT, "getini", "cannot load cache for ini file: %s", file);
    return nullptr;
  }
  const CacheSection* found_section = find_section(cache, section);
  const CacheRecord* record = found_section ? find_record(found_section, name) : nullptr;
  return copy_value(section, name, record ? record->value : "");
}

char* read_value_from_file(const char* file, const char* section, const char* name) {
  std::FILE* stream = std::fopen(file, "r");
  if (!stream) {
    log_message(LOG_CONT, "getini", "cannot open file (%s)", file);
    return nullptr;
  }
  IniLineReader reader(stream, file);
  bool in_section = false;
  bool found = false;
  char* copy = nullptr;
  IniLine line;
  while (!found && reader.Next(line)) {
    if (line.kind == LineKind::Section) {
      in_section = std::strcmp(line.name, section) == 0;
    } else if (in_section && std::strcmp(line.name, name) == 0) {
      found = true;
      copy = copy_value(section, name, line.value);
    }
  }
  if (std::fclose(stream) != 0) log_message(LOG_CONT, "getini", "cannot fclose file");
  return found ? copy : copy_value(section, name, "");
}

struct FreeMem {
  void operator()(char* block) const { free_mem(block); }
};
using IniValue = std::unique_ptr<char, FreeMem>;

// Asks getini on behalf of a typed getter; false, after "Null request", when an argument is null.
bool request_value(const char* getter, const char* file, const char* section, const char* name,
                   IniValue& value) {
  if (!file || !section || !name) {
    log_message(LOG_CONT, getter, "Null request");
    return false;
  }
  value.reset(getini(file, section, name));
  return true;
}

// As request_value, also false, after "NULL for <name>", when getini fails.
bool fetch_value(const char* getter, const char* file, const char* section, const char* name,
                 IniValue& value) {
  if (!request_value(getter, file, section, name, value)) return false;
  if (!value) {
    log_message(LOG_CONT, getter, "NULL for %s", name);
    return false;
  }
  return true;
}

template <typename Number, typename Convert>
Number get_whole_number(const char* file, const char* section, const char* name,
                        Number default_value, Convert convert) {
  IniValue value;
  if (!fetch_value("get_int_from_ini", file, section, name, value) || !*value) return default_value;
  errno = 0;
  const Number result = convert(value.get(), nullptr, 0);
  if (errno != 0) {
    log_message(LOG_CONT, "get_int_from_ini", "Can't get %s", name);
    return default_value;
  }
  return result;
}

}  // namespace

char* getini(const char* file, const char* section, const char* name) {
  if (!file || !*file || !section || !*section || !name || !*name) {
    log_message(LOG_CONT, "getini", "invalid args");
    return nullptr;
  }
  return cache_in_use ? read_value_from_cache(file, section, name)
                      : read_value_from_file(file, section, name);
}

char* get_string_from_ini(const char* file, const char* section, const char* name) {
  IniValue value;
  if (!request_value("get_string_from_ini", file, section, name, value) || !value || !*value) {
    return nullptr;
  }
  return value.release();
}

long get_int_from_ini(const char* file, const char* section, const char* name, long default_value) {
  return get_whole_number(file, section, name, default_value, std::strtol);
}

unsigned long get_unsigned_from_ini(const char* file, const char* section, const char* name,
                                    unsigned long default_value) {
  return get_whole_number(file, section, name, default_value, std::strtoul);
}

float get_float_from_ini(const char* file, const char* section, const char* name,
                         float default_value) {
  IniValue value;
  if (!fetch_value("get_float_from_ini", file, section, name, value) || !*value) {
    return default_value;
  }
  float result = 0.0f;
  if (str_to_float(value.get(), &result) != 0) {
    log_message(LOG_CONT, "get_float_from_ini", "Can't get %s", name);
    return default_value;
  }
  return result;
}

bool get_BOOLEAN_from_ini(const char* file, const char* section, const char* name,
                          bool default_value) {
  IniValue value;
  if (!fetch_value("get_BOOLEAN_from_ini", file, section, name, value)) return default_value;
  return *value != '\0';
}

char get_char_from_ini(const char* file, const char* section, const char* name, char default_value) {
  IniValue value;
  if (!request_value("get_char_from_ini", file, section, name, value)) return default_value;
  if (!value) {
    log_message(LOG_CONT, "get_char_from_ini", "NULL for %s (%s)", name, section);
    return default_value;
  }
  if (std::strlen(value.get()) != 1) {
    log_message(LOG_CONT, "get_char_from_ini", "Item %s (%s) not single character", name, section);
    return default_value;
  }
  return value.get()[0];
}

bool clear_ini_cache(const char* file) {
  if (!file) return true;
  FileCache** link = &file_caches;
  while (FileCache* cache = *link) {
    if (std::strcmp(cache->file, file) != 0) {
      link = &cache->next;
      continue;
    }
    release_sections(cache);
    *link = cache->next;
    free_mem(cache->file);
    free_mem(cache);
  }
  return true;
}

void set_ini_cache_use(bool on) { cache_in_use = on; }

OvStr IniFileName() { return OvStr(""); }
