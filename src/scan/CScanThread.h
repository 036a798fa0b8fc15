#pragma once
// One scan on a thread of its own: every resource adds to the skip list,
// the catalogue is emptied and refilled with the files the resources offer,
// then every entry is described, with a progress tick 0..119 sent to the
// window as the description pass advances. WM_SCAN_DONE is posted at the
// end.
//
// With threads > 1, directories are listed and files read on that many
// threads each, so the disk has many requests in flight; the catalogue, its
// order, the descriptions and the ticks are those of one thread.

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace jb {

class CCatalogue;
class CResourceArray;
class CResourceTypeArray;
class IMessageTarget;

class CScanThread {
 public:
  // Starts a thread running body; throws std::system_error when it cannot.
  using Launcher = std::function<std::thread(std::function<void()> body)>;

  CScanThread(IMessageTarget& window, const CResourceArray& resources, CCatalogue& catalogue,
              const CResourceTypeArray& types, unsigned threads = DefaultThreads());
  ~CScanThread();  // joins
  CScanThread(const CScanThread&) = delete;
  CScanThread& operator=(const CScanThread&) = delete;

  // Starts the scan; false when the thread cannot be started.
  bool Start(const Launcher& launcher = {});
  // Waits for the thread to end (after WM_SCAN_DONE was posted).
  void Join();

  // The scan itself, on the calling thread (the thread's body). Never
  // throws: an unexpected error (out of memory) ends the scan early, and
  // WM_SCAN_DONE is posted all the same.
  void Run();
  // After Join: what ended the scan early, empty when it ran to its end.
  // The catalogue then holds what the scan had reached.
  const std::string& GetError() const { return m_strError; }

  static unsigned DefaultThreads();

 private:
  void Scan();

  IMessageTarget& m_window;
  const CResourceArray& m_resources;
  CCatalogue& m_catalogue;
  const CResourceTypeArray& m_types;
  unsigned m_nThreads;
  std::thread m_thread;
  std::string m_strError;
};

}  // namespace jb
