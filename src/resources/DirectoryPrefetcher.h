#pragma once
// Lists the directories below a walk's root on helper threads, ahead of the
// walk, so that a cold disk has many requests in flight. The walk itself
// stays on its thread and takes the listings in its own order (depth first,
// by name); a listing it needs before any helper got to it, it makes itself.
// With no helpers the walk lists every directory itself, in order.
//
// Each directory (device and inode) is listed once, whatever paths reach
// it; the walk decides which path wins, so links and loops end as they would
// on one thread.
//
// With waits, helpers beyond the cores wait until a read has waited for the
// disk.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DirectoryListing.h"

namespace jb {

class CSkipList;
class DiskWaits;

class DirectoryPrefetcher {
 public:
  class Node {
   public:
    bool Opened() const { return m_bOpened; }
    DirectoryId Id() const { return m_id; }

   private:
    friend class DirectoryPrefetcher;
    enum : std::uint8_t { kQueued, kListing, kDone };
    explicit Node(std::string path) : m_strPath(std::move(path)) {}

    std::string m_strPath;            // as the helper that lists it reached it
    std::uint8_t m_nState = kQueued;  // guarded
    bool m_bOpened = false;
    DirectoryId m_id;
    Node* m_pOwner = nullptr;  // the node that lists the same directory, when not this one
    DirectoryListing m_listing;
    std::shared_ptr<const CDirectory> m_pDirectory;  // kept open for reading its files
    std::vector<Node*> m_children;  // one per listed directory; null when not prefetched
    std::exception_ptr m_error;     // what ended a helper's listing
  };

  // The walk's rules for going down: hidden directories only with hidden,
  // never into a directory of skip.
  DirectoryPrefetcher(unsigned helpers, bool hidden, const CSkipList& skip, DiskWaits* waits = nullptr);
  ~DirectoryPrefetcher();
  DirectoryPrefetcher(const DirectoryPrefetcher&) = delete;
  DirectoryPrefetcher& operator=(const DirectoryPrefetcher&) = delete;

  // A node for path, queued for the helpers.
  Node* Add(const std::string& path);
  // Waits for node's directory to be listed (listing it on this thread when
  // no helper has started on it) and returns the node that holds its
  // listing: node itself, or the node that listed the same directory.
  Node& Listed(Node& node);
  static const DirectoryListing& Listing(const Node& listed) { return listed.m_listing; }
  // The prefetched node of the listing's i-th directory, or null.
  static Node* Child(const Node& listed, size_t i) { return listed.m_children[i]; }
  // The listed directory, still open, when it was kept (a bounded number
  // is): its files can be opened relative to it.
  static std::shared_ptr<const CDirectory> TakeDirectory(Node& listed) { return std::move(listed.m_pDirectory); }
  // Frees a listing the walk is done with.
  static void Release(Node& listed) { listed.m_listing.Clear(); }

 private:
  Node* NewNode(std::string path);  // under m_mutex
  void Help(bool parked);
  void List(Node& node);

  const bool m_bHidden;
  const CSkipList& m_skip;
  // Directories kept open, counted until the last holder closes them.
  std::shared_ptr<std::atomic<unsigned>> m_pKept = std::make_shared<std::atomic<unsigned>>(0);
  DiskWaits* m_pWaits;
  size_t m_nListener = 0;
  std::mutex m_mutex;
  std::condition_variable m_queued;
  std::condition_variable m_done;
  std::condition_variable m_unparked;  // helpers beyond the cores wait here
  std::vector<std::unique_ptr<Node>> m_nodes;  // guarded
  std::vector<Node*> m_queue;                  // guarded; the last in goes first
  std::map<DirectoryId, Node*> m_listers;      // guarded
  bool m_bClosed = false;                      // guarded
  std::vector<std::thread> m_helpers;
};

}  // namespace jb
