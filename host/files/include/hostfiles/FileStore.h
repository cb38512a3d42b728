// The seam to the file system: whole-file reads, files written piece by
// piece, renaming and removal. The files library writes atomically on top
// of it; a native build uses the POSIX store, a browser build supplies its own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace hostfiles {

// A file being written: its pieces in order, then the close.
class FileSink {
 public:
  virtual ~FileSink() = default;
  // Each answers false with a reason in `error` on failure.
  virtual bool append(std::string_view piece, std::string* error) = 0;
  // The file complete; a rename after it is safe.
  virtual bool close(std::string* error) = 0;
};

class FileStore {
 public:
  virtual ~FileStore() = default;
  // Each answers false (or none) with a reason in `error` on failure.
  virtual bool read(const std::string& path, std::string* data, std::string* error) = 0;
  // Creates or truncates the file for writing.
  virtual std::unique_ptr<FileSink> create(const std::string& path, std::string* error) = 0;
  // Replaces `to` with `from` in one step.
  virtual bool rename(const std::string& from, const std::string& to, std::string* error) = 0;
  virtual void remove(const std::string& path) = 0;

  // The whole file at once.
  bool write(const std::string& path, std::string_view data, std::string* error);
};

// Takes the text piece by piece; false stops the writing.
using TextSink = std::function<bool(std::string_view piece)>;
// Hands the whole text to the sink; false when the sink refused a piece
// or the text could not be made.
using TextSource = std::function<bool(const TextSink& sink)>;

// Writes the text to a temporary file beside `path` and renames it into
// place: on failure the old file is left as it was and no temporary stays.
bool writeFileAtomically(FileStore& files, const std::string& path, const TextSource& text, std::string* error);
bool writeFileAtomically(FileStore& files, const std::string& path, std::string_view data, std::string* error);

}  // namespace hostfiles
