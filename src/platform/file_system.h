#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Files, as the tool needs them from the operating system. Every call that
// can fail returns false and puts the system's own reason in *err ("No space
// left on device"), for the caller to put after its own words.

struct FileCloser {
    void operator()(std::FILE* file) const;
};
/// An open file, closed when the handle goes. Where the close matters (a
/// file that was written), use closeFile, which reports it.
using File = std::unique_ptr<std::FILE, FileCloser>;

/// Opens an existing file for reading, following links.
bool openForReading(const std::string& path, File* file, std::string* err);
/// Opens an existing file for reading and writing in place, following
/// links; never creates or truncates it.
bool openForUpdate(const std::string& path, File* file, std::string* err);
/// Creates a file for writing that must not exist yet; a link at its name
/// is not followed. It gets the permission bits of `like` where the system
/// has them.
bool createNewFile(const std::string& path, std::FILE* like, File* file, std::string* err);
/// Closes the file and reports a failed flush or close.
bool closeFile(File* file, std::string* err);

/// Reads up to `size` bytes; *count is 0 at the end of the file.
bool readSome(std::FILE* file, char* buffer, std::size_t size, std::size_t* count, std::string* err);
/// Writes all `size` bytes.
bool writeAll(std::FILE* file, const char* data, std::size_t size, std::string* err);
bool fileSize(std::FILE* file, std::int64_t* size, std::string* err);
bool seekTo(std::FILE* file, std::int64_t position, std::string* err);
/// Flushes the stream and forces the file's data to the disk.
bool syncFile(std::FILE* file, std::string* err);

/// Takes an exclusive lock on the open file without waiting: *locked is
/// false when another process holds it. The lock goes with the handle, or
/// with the process when that ends in any way.
bool tryLockFile(std::FILE* file, bool* locked, std::string* err);

/// True for a regular file, or a link to one.
bool isRegularFile(const std::string& path);
/// Removes the file or link at `path` (never what a link points to); a
/// path where nothing stands is no failure.
bool removeFile(const std::string& path, std::string* err);
/// Moves `from` over `to` in one step and makes the move durable: `to` is
/// either the old file or the whole new one, also after a power cut.
bool replaceFile(const std::string& from, const std::string& to, std::string* err);

/// The character that separates the folders of a path on this system.
extern const char kPathSeparator;
