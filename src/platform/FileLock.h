#pragma once
// The exclusive lock that every writer of a file takes, so that a command
// that reads, changes and saves the file loses no change another one made.
//
// A save replaces the file by renaming a new one over it, so a lock on the
// file itself would not exclude whoever opens the new one. The lock is
// therefore held on ".<name>.lock" beside the file that the path names
// (through symbolic links), which the last holder removes. Locks are taken
// again freely on the thread that holds them, and exclude other threads as
// they exclude other processes; the system drops them with a killed process.

#include <sys/types.h>

#include <string>
#include <string_view>

namespace jb {

class CFileLock {
 public:
  // Waits until no one else holds the lock of path. Throws FileError when
  // the lock file cannot be made.
  explicit CFileLock(const std::string& path);
  // Releases on the thread that took the lock.
  ~CFileLock();
  CFileLock(const CFileLock&) = delete;
  CFileLock& operator=(const CFileLock&) = delete;

 private:
  // The lock file's identity.
  dev_t m_dev;
  ino_t m_ino;
};

// The file that a save to path replaces: path with the symbolic links that
// its last part names followed. Throws FileError on a loop of links.
std::string FollowLinks(const std::string& path);

// How the names of a file's side files (its lock, its temporaries) begin:
// "." and the file's name, cut so that their endings still fit in a name.
// Two names cut alike share one lock, so a save never takes the temporary
// of another save in progress for a leftover.
std::string SideFileStem(std::string_view fileName);

}  // namespace jb
