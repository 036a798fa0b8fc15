#include "resources/DirectoryPrefetcher.h"

#include <algorithm>
#include <system_error>

#include "platform/DiskWaits.h"
#include "platform/Paths.h"
#include "resources/CollectFiles.h"

namespace jb {

namespace {
constexpr unsigned kMaxKept = 256;
}

DirectoryPrefetcher::DirectoryPrefetcher(unsigned helpers, bool hidden, const CSkipList& skip, DiskWaits* waits)
    : m_bHidden(hidden), m_skip(skip), m_pWaits(waits) {
  // One helper per core while reads come from the cache: the walk and the
  // collecting thread mostly wait on the helpers, so they need no core of
  // their own (one fewer left a core idle).
  const unsigned active = waits ? DiskWaits::Cores() : helpers;
  if (waits) {
    m_nListener = waits->Listen([this] {
      { std::lock_guard<std::mutex> lock(m_mutex); }
      m_unparked.notify_all();
    });
  }
  for (unsigned h = 0; h < helpers; ++h) {
    try {
      const bool parked = h >= active;
      m_helpers.emplace_back([this, parked] { Help(parked); });
    } catch (const std::system_error&) {
      break;  // fewer helpers; the walk lists the rest
    }
  }
}

DirectoryPrefetcher::~DirectoryPrefetcher() {
  if (m_pWaits) m_pWaits->Remove(m_nListener);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bClosed = true;
  }
  m_queued.notify_all();
  m_unparked.notify_all();
  for (std::thread& t : m_helpers) t.join();
}

DirectoryPrefetcher::Node* DirectoryPrefetcher::NewNode(std::string path) {
  m_nodes.push_back(std::unique_ptr<Node>(new Node(std::move(path))));
  Node* node = m_nodes.back().get();
  if (!m_helpers.empty()) m_queue.push_back(node);
  return node;
}

DirectoryPrefetcher::Node* DirectoryPrefetcher::Add(const std::string& path) {
  Node* node;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    node = NewNode(path);
  }
  m_queued.notify_one();
  return node;
}

void DirectoryPrefetcher::Help(bool parked) {
  if (parked) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_unparked.wait(lock, [this] { return m_bClosed || m_pWaits->Seen(); });
  }
  for (;;) {
    Node* node;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_queued.wait(lock, [this] { return !m_queue.empty() || m_bClosed; });
      if (m_bClosed) return;
      node = m_queue.back();
      m_queue.pop_back();
      if (node->m_nState != Node::kQueued) continue;  // the walk took it
      node->m_nState = Node::kListing;
    }
    try {
      List(*node);
    } catch (...) {
      // Out of memory, most likely: the walk meets the failure when it
      // reaches this directory, as it would have listing it itself.
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        node->m_error = std::current_exception();
        node->m_nState = Node::kDone;
      }
      m_done.notify_all();
    }
  }
}

DirectoryPrefetcher::Node& DirectoryPrefetcher::Listed(Node& node) {
  bool mine = false;
  {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (node.m_nState == Node::kQueued) {
      node.m_nState = Node::kListing;
      mine = true;
    } else {
      m_done.wait(lock, [&node] { return node.m_nState == Node::kDone; });
    }
  }
  if (mine) List(node);
  if (node.m_error) std::rethrow_exception(node.m_error);
  if (!node.m_pOwner) return node;
  // Another node lists the same directory: it was claimed first, so it is
  // listed or being listed.
  Node& owner = *node.m_pOwner;
  std::unique_lock<std::mutex> lock(m_mutex);
  m_done.wait(lock, [&owner] { return owner.m_nState == Node::kDone; });
  if (owner.m_error) std::rethrow_exception(owner.m_error);
  return owner;
}

void DirectoryPrefetcher::List(Node& node) {
  std::unique_ptr<CDirectory> opened = CDirectory::Open(node.m_strPath);
  bool listed = false;
  if (opened) {
    node.m_bOpened = true;
    node.m_id = opened->Id();
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      auto [at, added] = m_listers.emplace(node.m_id, &node);
      if (!added) node.m_pOwner = at->second;
    }
    // An unreadable directory lists as empty, as a gone one is skipped.
    listed = !node.m_pOwner && opened->List(node.m_listing);
    // Kept for reading its files, within a bound on open descriptors.
    if (listed && node.m_listing.FileCount() > 0 && m_pKept->fetch_add(1) < kMaxKept) {
      auto kept = m_pKept;
      node.m_pDirectory = std::shared_ptr<const CDirectory>(opened.release(), [kept](const CDirectory* d) {
        delete d;
        kept->fetch_sub(1);
      });
    } else if (listed && node.m_listing.FileCount() > 0) {
      m_pKept->fetch_sub(1);
    }
    opened.reset();
  }
  // What the walk will go down into, by the path this node was reached by;
  // a walk that reaches the directory by another path makes up for any
  // difference itself. Queued in order, so helpers (last in, first out)
  // start at the far end of the listing while the walk goes from its start:
  // the walk then seldom waits on a listing a helper has begun.
  std::vector<std::pair<size_t, std::string>> subs;
  if (listed) {
    const DirectoryListing& listing = node.m_listing;
    const std::string root = WithTrailingSeparator(node.m_strPath);
    for (size_t i = 0; i < listing.DirectoryCount(); ++i) {
      std::string_view name = listing.Directory(i);
      if (!m_bHidden && name[0] == '.') continue;
      std::string sub = PathIn(root, name);
      if (!m_skip.Contains(sub)) subs.emplace_back(i, std::move(sub));
    }
  }
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    node.m_children.assign(node.m_listing.DirectoryCount(), nullptr);
    for (auto& [i, sub] : subs) node.m_children[i] = NewNode(std::move(sub));
    std::string().swap(node.m_strPath);
    node.m_nState = Node::kDone;
  }
  m_done.notify_all();
  if (m_helpers.empty()) return;
  for (size_t i = 0; i < subs.size() && i < m_helpers.size(); ++i) m_queued.notify_one();
}

}  // namespace jb
