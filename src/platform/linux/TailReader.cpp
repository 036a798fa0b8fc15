#include "platform/TailReader.h"

#include <liburing.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/DiskWaits.h"
#include "platform/linux/FileTail.h"

namespace jb {

namespace {

// Files asked for at once: each has a slot in the ring's file table, and
// takes a size query, then an open, a read and a close.
constexpr unsigned kBatch = 64;
constexpr unsigned kEntries = 4 * kBatch;
// Kernel workers a ring may keep for work that blocks (size queries on a
// cold disk): enough requests in flight, not a thread per file.
constexpr unsigned kMaxWorkers = 8;

constexpr std::uint64_t kOpen = 1, kRead = 2, kClose = 3;
std::uint64_t Tag(std::uint64_t step, unsigned i) { return step << 32 | i; }

}  // namespace

struct TailReader::Ring {
  io_uring ring{};
  bool made = false;
  struct statx sizes[kBatch];

  ~Ring() {
    if (made) io_uring_queue_exit(&ring);
  }

  // A batch's requests fit the submission queue (kEntries) whole.
  io_uring_sqe* Next() { return io_uring_get_sqe(&ring); }

  // Submits what is queued and hands each of count completions to take.
  template <typename Take>
  bool Complete(unsigned count, Take&& take) {
    if (count == 0) return true;
    if (io_uring_submit(&ring) < 0) return false;
    for (unsigned done = 0; done < count; ++done) {
      io_uring_cqe* cqe = nullptr;
      int waited;
      while ((waited = io_uring_wait_cqe(&ring, &cqe)) == -EINTR) {
      }
      if (waited < 0) return false;
      take(cqe->user_data, cqe->res);
      io_uring_cqe_seen(&ring, cqe);
    }
    return true;
  }
};

TailReader::TailReader(bool batched) : m_bTried(!batched) {}
TailReader::~TailReader() = default;

void TailReader::Read(int dirFd, const std::vector<const char*>& names, size_t n, char* out,
                      std::vector<bool>& read) {
  read.assign(names.size(), false);
  if (!m_bTried) {
    m_bTried = true;
    // Without io_uring (an old kernel, a sandbox that forbids it) the files
    // are read one by one. A read linked to the open before it needs the
    // kernel to take the opened file only when the read starts (5.17).
    auto ring = std::make_unique<Ring>();
    ring->made = io_uring_queue_init(kEntries, &ring->ring, 0) == 0;
    if (ring->made && (ring->ring.features & IORING_FEAT_LINKED_FILE)) {
      int table[kBatch];
      std::fill(std::begin(table), std::end(table), -1);
      unsigned workers[2] = {kMaxWorkers, kMaxWorkers};
      if (io_uring_register_files(&ring->ring, table, kBatch) == 0) {
        io_uring_register_iowq_max_workers(&ring->ring, workers);
        m_pRing = std::move(ring);
      }
    }
  }
  auto oneByOne = [&](size_t from) {
    for (size_t i = from; i < names.size(); ++i) {
      int fd = ::openat(dirFd, names[i], kReadFlags);
      if (fd < 0) continue;
      read[i] = ReadTailOfOpenFile(fd, out + i * n, n);
      ::close(fd);
    }
  };
  if (!m_pRing || m_bFailed) return oneByOne(0);

  Ring& r = *m_pRing;
  DiskWaits* waits = DiskWaits::Current();
  // A ring the system stops serving (out of memory) is not asked again:
  // what was queued and not taken is never submitted.
  auto fail = [&](size_t from) {
    m_bFailed = true;
    oneByOne(from);
  };
  for (size_t first = 0; first < names.size(); first += kBatch) {
    const unsigned count = static_cast<unsigned>(std::min<size_t>(kBatch, names.size() - first));
    // What each file is and how long, following links as opening does.
    int found[kBatch];
    for (unsigned i = 0; i < count; ++i) {
      io_uring_sqe* sqe = r.Next();
      io_uring_prep_statx(sqe, dirFd, names[first + i], 0, STATX_TYPE | STATX_SIZE, &r.sizes[i]);
      io_uring_sqe_set_data64(sqe, i);
    }
    if (!r.Complete(count, [&](std::uint64_t i, int res) { found[i] = res; })) return fail(first);

    // Open, read and close each regular file long enough, in one chain per
    // file: the close runs whatever the read gave. While no disk wait was
    // seen, reads ask the page cache only, and a file whose tail is not
    // there is read again, waiting.
    bool pending[kBatch] = {};
    for (unsigned i = 0; i < count; ++i)
      pending[i] = found[i] == 0 && S_ISREG(r.sizes[i].stx_mode) && r.sizes[i].stx_size >= n;
    for (int round = 0; round < 2; ++round) {
      const bool cachedOnly = round == 0 && waits && !waits->Seen();
      unsigned queued = 0;
      int opened[kBatch], got[kBatch];
      for (unsigned i = 0; i < count; ++i) {
        if (!pending[i]) continue;
        io_uring_sqe* sqe = r.Next();
        io_uring_prep_openat_direct(sqe, dirFd, names[first + i], kReadFlags & ~O_CLOEXEC, 0, i);
        sqe->flags |= IOSQE_IO_LINK;
        io_uring_sqe_set_data64(sqe, Tag(kOpen, i));
        sqe = r.Next();
        io_uring_prep_read(sqe, static_cast<int>(i), out + (first + i) * n, static_cast<unsigned>(n),
                           r.sizes[i].stx_size - n);
        sqe->flags |= IOSQE_FIXED_FILE | IOSQE_IO_HARDLINK;
        if (cachedOnly) sqe->rw_flags = RWF_NOWAIT;
        io_uring_sqe_set_data64(sqe, Tag(kRead, i));
        sqe = r.Next();
        io_uring_prep_close_direct(sqe, i);
        io_uring_sqe_set_data64(sqe, Tag(kClose, i));
        opened[i] = got[i] = -ECANCELED;
        queued += 3;
      }
      if (!r.Complete(queued, [&](std::uint64_t tag, int res) {
            const unsigned i = static_cast<unsigned>(tag & 0xffffffffu);
            if (tag >> 32 == kOpen) opened[i] = res;
            if (tag >> 32 == kRead) got[i] = res;
          }))
        return fail(first);
      for (unsigned i = 0; i < count; ++i) {
        if (!pending[i]) continue;
        pending[i] = false;
        if (opened[i] < 0) continue;
        if (cachedOnly) {
          if (got[i] < 0 && got[i] != -EAGAIN && got[i] != -EINTR)
            waits->Note();
          else
            waits->Count(got[i] == -EAGAIN);
        }
        if (got[i] == static_cast<int>(n))
          read[first + i] = true;
        else
          pending[i] = cachedOnly && (got[i] == -EAGAIN || got[i] == -EINTR || got[i] >= 0);
      }
    }
  }
}

}  // namespace jb
