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

/// Why the system refused to open a file, where the user can do something
/// about it.
enum class Refusal {
    Other,
    InUse,    // another program has the file open and shares it not enough
    ReadOnly, // the file is marked read-only
};

/// Opens an existing file for reading, following links.
bool openForReading(const std::string& path, File* file, std::string* err);
/// Opens an existing regular file for reading, through a link only where
/// `followLink` says so; false for a folder, a pipe or a device, and never
/// waits on one.
bool openRegularFileForReading(const std::string& path, bool followLink, File* file, std::string* err);
/// Reads up to `limit` bytes from the start of the regular file at `path`
/// (through links; never waits on a pipe) into *bytes; *whole says whether
/// that was all of it. False when there is no such file or a read fails.
bool readSmallFile(const std::string& path, std::size_t limit, std::string* bytes, bool* whole, std::string* err);
/// Opens an existing file to hold a lock on it: for writing where the file
/// may be written (network file systems lock only such handles), else for
/// reading. Never creates, truncates or writes it. On failure *refusal
/// says why.
bool openForLocking(const std::string& path, File* file, Refusal* refusal, std::string* err);
/// True when both open files are one and the same file (two names of it).
bool isSameFile(std::FILE* first, std::FILE* second);
/// What tells this state of the file at `path` (through links) from any
/// other: its identity, size and time of last change, as one text.
bool fileStamp(const std::string& path, std::string* stamp, std::string* err);
/// Opens an existing file for reading and writing in place, following
/// links; never creates or truncates it. On failure *refusal says why.
bool openForUpdate(const std::string& path, File* file, Refusal* refusal, std::string* err);
/// Creates a file for writing that must not exist yet; a link at its name
/// is not followed. It gets the permission bits of `like` where the system
/// and the file system have them; a file system that cannot set them
/// (FAT, exFAT) is no failure. With no `like`, a new file's usual bits.
bool createNewFile(const std::string& path, std::FILE* like, File* file, std::string* err);
/// Opens the existing regular file at `path` for writing over it in place,
/// never through a link, and only where the file has no other name (a hard
/// link); false, with the reason, for anything else at `path`, and always
/// on Windows, where Wine cannot tell a link from a file.
bool openSoleFileForWriting(const std::string& path, File* file, std::string* err);
/// Flushes the stream and cuts the file to `size` bytes.
bool cutFile(std::FILE* file, std::int64_t size, std::string* err);
/// Closes the file and reports a failed flush or close.
bool closeFile(File* file, std::string* err);

/// Reads up to `size` bytes; *count is 0 at the end of the file.
bool readSome(std::FILE* file, char* buffer, std::size_t size, std::size_t* count, std::string* err);
/// Writes all `size` bytes.
bool writeAll(std::FILE* file, const char* data, std::size_t size, std::string* err);
/// Reads up to `size` bytes at `position` in one call to the system, past
/// the stream's buffer, which it leaves as it was; *count is what came.
bool readAt(std::FILE* file, std::int64_t position, char* buffer, std::size_t size, std::size_t* count,
            std::string* err);
bool fileSize(std::FILE* file, std::int64_t* size, std::string* err);
bool seekTo(std::FILE* file, std::int64_t position, std::string* err);
/// Copies what is left of `source` to `target`, both opened by this module
/// and not read or written through their streams yet, in the system's own
/// way where the file system has one: a clone that shares the blocks until
/// either file is written (btrfs, XFS), else a copy inside the kernel. A
/// file system that has neither is no failure: whatever is left (all of
/// it, or the rest) is then for the caller to copy, from where both files
/// stand. False, with the reason, when the copy failed (a full disk, an
/// I/O error).
bool copyInSystem(std::FILE* source, std::FILE* target, std::string* err);
/// Flushes the stream and forces the file's data to the disk.
bool syncFile(std::FILE* file, std::string* err);

enum class LockState {
    Locked,       // this handle holds the lock
    Held,         // another process holds a lock on the file
    NotSupported, // the file system has no locks (NFS without its lock service)
};
/// Takes an exclusive lock on the open file without waiting. The lock goes
/// with the handle, or with the process when that ends in any way.
bool tryLockFile(std::FILE* file, LockState* state, std::string* err);

/// True for a path that the system can take whole; false, with the reason
/// in *err, for one with a NUL character in it, which every system call
/// would take for its end (and so act on another file). Every call here
/// that takes a path checks it.
bool checkPath(const std::string& path, std::string* err);
/// What stands at a path itself (a link is not followed).
enum class Entry {
    Missing,     // nothing
    RegularFile, // a regular file
    Other,       // a link, a folder, a pipe, a device
    Unknown,     // the system could not tell; *err says why
};
Entry entryAt(const std::string& path, std::string* err);
/// True for a regular file, or a link to one.
bool isRegularFile(const std::string& path);
/// Removes the file or link at `path` (never what a link points to); a
/// path where nothing stands is no failure.
bool removeFile(const std::string& path, std::string* err);
/// Makes the folder at `path`; one that is there already is no failure.
bool makeFolder(const std::string& path, std::string* err);
/// Makes the folder at `path` and every folder on the way to it.
bool makeFolders(const std::string& path, std::string* err);
/// Moves `from` over `to` in one step, as the system gets to writing it
/// down: a file that a power cut may take back with no harm.
bool renameOver(const std::string& from, const std::string& to, std::string* err);
/// Moves `from` over `to` in one step and makes the move durable: `to` is
/// either the old file or the whole new one, also after a power cut. Once
/// the move is made the call succeeds: a folder that cannot be synced
/// afterwards only puts the reason in *note (empty where the file system
/// simply has no such sync).
bool replaceFile(const std::string& from, const std::string& to, std::string* note, std::string* err);

/// The character that separates the folders of a path on this system.
extern const char kPathSeparator;
/// Every character that separates folders in a path that a user or a
/// program hands over ("\\/" on Windows, where "/" works as well).
extern const char* const kPathSeparators;
/// The path of the file that `path` names, with every link on the way
/// followed: where a change of that file must be made, so that the links
/// stay. `path` itself when nothing is there or the system cannot tell.
std::string finalPath(const std::string& path);
/// The file `name` in the folder of `path`, written as `path` writes its
/// folder: the bare name for a bare `path`.
std::string pathBeside(const std::string& path, const std::string& name);
/// The folder that holds `path`, as a path of its own: "." for a bare
/// name, the root itself for a file at the root.
std::string folderOf(const std::string& path);
