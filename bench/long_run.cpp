// The long run: a generated collection scanned twice in a row from the main
// window's menu, the scan's messages handled by the window as its thread
// would. Prints each scan's time, the catalogue's size and fingerprint, and
// the process's memory (resident set and malloc's bytes in use) before and
// after the second scan. Fails when the two catalogues differ or the memory
// is not back within 10% of its level before the second scan.
//
// usage: long_run [--files N] [--seed S]   (200,000 files by default)
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CollectionGenerator.h"
#include "QuietHost.h"
#include "TestSupport.h"
#include "config/CConfig.h"
#include "environment/CEnvironment.h"
#include "platform/Memory.h"
#include "resources/CreateResource.h"
#include "skin/SkinSet.h"
#include "storage/CArchive.h"
#include "types/BuiltinTypes.h"
#include "window/CMainDlg.h"

namespace fs = std::filesystem;
using namespace jb;

namespace {

struct Memory {
  double residentMb = 0;  // resident set
  double inUseMb = 0;     // malloc's bytes in use
  double peakMb = 0;      // the resident set's high-water mark
};

Memory Measure() {
  Memory m;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) m.residentMb = std::atof(line.c_str() + 6) / 1024;
    if (line.rfind("VmHWM:", 0) == 0) m.peakMb = std::atof(line.c_str() + 6) / 1024;
  }
  m.inUseMb = double(mallinfo2().uordblks) / (1024 * 1024);
  return m;
}

// FNV-1a of the entries' stored forms, in order: equal catalogues, equal
// bytes. Entry by entry, so the measure leaves no large buffer behind.
std::uint64_t Fingerprint(CEnvironment& env) {
  std::uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < env.GetSize(); ++i)
    for (std::uint8_t b : StoreArchiveBytes([&](CArchive& ar) { env.GetAt(i)->Serialize(ar); }))
      hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

bool WithinTenPercent(double after, double before) { return after <= before * 1.1 && after >= before * 0.9; }

}  // namespace

int main(int argc, char** argv) {
  // As the desktop program starts.
  ShareAllocatorPools();
  std::uint64_t files = 200000, seed = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--files")
      files = std::strtoull(argv[i + 1], nullptr, 10);
    else if (flag == "--seed")
      seed = std::strtoull(argv[i + 1], nullptr, 10);
  }
  if (argc % 2 == 0 || files == 0) {
    std::fprintf(stderr, "usage: long_run [--files N] [--seed S]\n");
    return 2;
  }

  test::TempDir dir;
  std::printf("collection: %s\n", gen::FormatSummary(gen::GenerateCollection({dir / "music", files, seed})).c_str());
  fs::copy_file(JUKEBAR_DEFAULT_SKIN, dir / SkinSet::kFileName);
  test::ScopedCurrentDir cwd(dir.Path());

  test::MessageLoop loop;
  bench::QuietHost host(&loop);
  CConfig config(host.Prompt());
  config.installationValid = true;
  config.optionFlags &= ~CConfig::kAutoLoadPlayer;
  config.environmentPath = dir / "long.jbe";
  SkinSet skin;
  CMainDlg dlg(host, config, skin);
  if (!dlg.OnInitDialog()) {
    std::fprintf(stderr, "long_run: the window did not come up\n");
    return 1;
  }
  CEnvironment& env = *dlg.GetEnvironment();
  auto resource = CreateResource(config.resourceTypes.FindById(kFolderTypeId));
  resource->m_strPath = dir / "music";
  env.Resources().Add(std::move(resource));

  auto scan = [&](int n) {
    const auto start = std::chrono::steady_clock::now();
    long ticks = 0;
    dlg.OnCommand(kCmdScan);
    const bool done = loop.RunUntil(WM_SCAN_DONE, [&](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
      ticks += message == WM_SCAN_PROGRESS;
      dlg.OnMessage(message, wParam, lParam);
    });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!done || dlg.IsScanning()) {
      std::fprintf(stderr, "long_run: scan %d did not end\n", n);
      std::exit(1);
    }
    const std::uint64_t print = Fingerprint(env);
    std::printf("scan %d: %.2f s, %zu entries, %ld progress messages, %zu tree rows, catalogue %016llx\n", n, seconds,
                env.GetSize(), ticks, size_t(dlg.Tree().CountRows()), static_cast<unsigned long long>(print));
    return print;
  };
  auto show = [](const char* when, const Memory& m) {
    std::printf("%-22s resident %8.1f MB, malloc in use %8.1f MB, peak resident %8.1f MB\n", when, m.residentMb,
                m.inUseMb, m.peakMb);
  };

  const std::uint64_t first = scan(1);
  const Memory before = Measure();
  show("before the second scan", before);
  const std::uint64_t second = scan(2);
  const Memory after = Measure();
  show("after the second scan", after);

  const bool same = first == second && env.GetSize() > 0;
  const bool resident = WithinTenPercent(after.residentMb, before.residentMb);
  const bool inUse = WithinTenPercent(after.inUseMb, before.inUseMb);
  std::printf("catalogue identical: %s; resident back within 10%%: %s (%+.1f%%); in use within 10%%: %s (%+.1f%%)\n",
              same ? "yes" : "NO", resident ? "yes" : "NO", 100 * (after.residentMb / before.residentMb - 1),
              inUse ? "yes" : "NO", 100 * (after.inUseMb / before.inUseMb - 1));
  return same && resident && inUse ? 0 : 1;
}
