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
// Work given for listed directories (describing their files) is done by the
// thread that lists each, while the directory is still open, before the walk
// may take the listing.
//
// With waits, helpers beyond the cores wait until a read has waited for the
// disk.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DirectoryListing.h"

namespace jb {

class CCatalogueEntry;
class CSkipList;
class DiskWaits;

class DirectoryPrefetcher {
 public:
  // Work on a directory just listed, by the path it was listed by (with its
  // trailing separator), on the thread that listed it: helper h, or the
  // walk's thread as h = helpers. It may keep dir open for a while; the
  // entries it makes go with the listing to the walk.
  using ListedWork = std::function<void(const std::string& path, std::shared_ptr<const CDirectory> dir,
                                        const DirectoryListing& listing, unsigned h,
                                        std::vector<CCatalogueEntry*>& made)>;

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
    bool m_bWorked = false;
    std::vector<CCatalogueEntry*> m_made;  // what the work made of the files
    std::vector<Node*> m_children;  // one per listed directory; null when not prefetched
    std::exception_ptr m_error;     // what ended a helper's listing
  };

  // The walk's rules for going down: hidden directories only with hidden,
  // never into a directory of skip.
  DirectoryPrefetcher(unsigned helpers, bool hidden, const CSkipList& skip, DiskWaits* waits = nullptr,
                      ListedWork work = {});
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
  // The path the listing was made by.
  static const std::string& ListedPath(const Node& listed) { return listed.m_strPath; }
  // What the work made of the listing, or null when it did not run.
  static std::vector<CCatalogueEntry*>* Made(Node& listed) { return listed.m_bWorked ? &listed.m_made : nullptr; }
  // The prefetched node of the listing's i-th directory, or null.
  static Node* Child(const Node& listed, size_t i) { return listed.m_children[i]; }
  // Frees a listing the walk is done with.
  static void Release(Node& listed) {
    listed.m_listing.Clear();
    std::vector<CCatalogueEntry*>().swap(listed.m_made);
  }

 private:
  Node* NewNode(std::string path);  // under m_mutex
  void Help(unsigned h, bool parked);
  void List(Node& node, unsigned h);

  const bool m_bHidden;
  const CSkipList& m_skip;
  DiskWaits* m_pWaits;
  const ListedWork m_work;
  const unsigned m_nWalk;  // the walk's number for the work
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
