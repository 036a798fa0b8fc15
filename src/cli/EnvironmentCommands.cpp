// Commands that make and edit environments and show what they hold.
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "CliCommand.h"
#include "CliSupport.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "resources/CResourceArray.h"
#include "resources/CreateResource.h"
#include "scan/ScanMessages.h"
#include "strings/StringTable.h"
#include "types/BuiltinTypes.h"
#include "types/CResourceTypeArray.h"

namespace jb::cli {
namespace {

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void RefuseDuplicate(const CResourceArray& resources, const std::string& path) {
  for (size_t i = 0; i < resources.GetSize(); ++i)
    if (SamePath(resources.GetAt(i)->m_strPath, path))
      throw CommandError{LoadString(ids::DuplicateResourcePath) + " (" + path + ")"};
}

int RunNew(std::vector<std::string>& argv) {
  ArgParser args(argv, {"--force"}, {});
  const std::string path = args.Positionals(1, 1)[0];
  Session session(args);
  session.Lock(path);
  if (!args.Has("--force") && FileExists(path)) throw CommandError{"'" + path + "' already exists"};
  if (!session.environment->SaveAs(path)) throw CommandError{"cannot write '" + path + "'"};
  return 0;
}

int RunAddDir(std::vector<std::string>& argv) {
  ArgParser args(argv, {"--no-subdirs", "--no-hidden", "--cloak"}, {"--exclude"});
  const auto& pos = args.Positionals(2, 2);
  Session session(args);
  CEnvironment& env = session.Edit(pos[0]);
  const std::string dir = CleanPath(pos[1]);
  if (!IsDirectory(dir)) throw CommandError{"'" + pos[1] + "' is not a directory"};
  RefuseDuplicate(env.Resources(), dir);

  CResourceTypeArray& types = session.config->resourceTypes;
  std::unique_ptr<CResource> resource = CreateResource(types.FindById(kFolderTypeId));
  auto* directory = static_cast<CDirResource*>(resource.get());
  directory->m_strPath = dir;
  if (args.Has("--no-subdirs")) directory->m_nFlags &= static_cast<std::uint8_t>(~CResource::kSubDirectories);
  if (args.Has("--no-hidden")) directory->m_nFlags &= static_cast<std::uint8_t>(~CResource::kHidden);
  if (args.Has("--cloak")) directory->m_nFlags |= CResource::kCloak;
  for (const std::string& ext : args.Values("--exclude")) {
    if (!types.FindByExtension(ext)) throw CommandError{"no resource type claims the extension '" + ext + "'"};
    directory->m_aExcludedExts.push_back(ext);
  }
  env.Resources().Add(std::move(resource));
  env.SetModified();
  session.Save();
  return 0;
}

int RunAddFile(std::vector<std::string>& argv) {
  ArgParser args(argv, {"--cloak"}, {});
  const auto& pos = args.Positionals(2, 2);
  Session session(args);
  CEnvironment& env = session.Edit(pos[0]);
  const std::string file = CleanPath(pos[1]);
  if (!CReadFile::Open(file)) throw CommandError{"'" + pos[1] + "' is not a readable file"};
  RefuseDuplicate(env.Resources(), file);

  CResourceTypeArray& types = session.config->resourceTypes;
  std::string_view name = FileNamePart(file);
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) throw CommandError{"'" + pos[1] + "' has no extension to type it by"};
  CResourceType* type = types.FindByExtension(name.substr(dot + 1));
  std::unique_ptr<CResource> resource = CreateResource(type);
  resource->m_strPath = file;
  if (args.Has("--cloak")) resource->m_nFlags |= CResource::kCloak;
  env.Resources().Add(std::move(resource));
  env.Resources().RelinkTypes(types);  // a new extension gets a user type
  env.SetModified();
  session.Save();
  return 0;
}

int RunResources(std::vector<std::string>& argv) {
  ArgParser args(argv, {}, {});
  Session session(args);
  const CResourceArray& resources = session.Load(args.Positionals(1, 1)[0]).Resources();
  for (size_t i = 0; i < resources.GetSize(); ++i) {
    const CResource& r = *resources.GetAt(i);
    std::string line = r.GetTypeId() == kFolderTypeId ? "directory\t" : "file\t";
    line += EscapeControlBytes(r.m_strPath);
    line += "\t";
    line += r.m_pType ? EscapeControlBytes(r.m_pType->GetName()) : "(no type)";
    if (r.IsCloaked()) line += "\tcloaked";
    if (r.GetTypeId() == kFolderTypeId) {
      if (r.m_nFlags & CResource::kSubDirectories) line += "\tsub-directories";
      if (r.m_nFlags & CResource::kHidden) line += "\thidden-files";
      const auto& excluded = static_cast<const CDirResource&>(r).m_aExcludedExts;
      if (!excluded.empty()) line += "\texcluding " + EscapeControlBytes(JoinExtensions(excluded));
    }
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int RunRemove(std::vector<std::string>& argv) {
  ArgParser args(argv, {}, {});
  const auto& pos = args.Positionals(2, 2);
  Session session(args);
  CEnvironment& env = session.Edit(pos[0]);
  CResourceArray& resources = env.Resources();
  const std::string absolute = CleanPath(pos[1]);
  for (size_t i = 0; i < resources.GetSize(); ++i) {
    const std::string& stored = resources.GetAt(i)->m_strPath;
    if (SamePath(stored, pos[1]) || SamePath(stored, absolute)) {
      resources.RemoveAt(i);
      env.SetModified();
      session.Save();
      return 0;
    }
  }
  throw CommandError{"no resource has the path '" + pos[1] + "'"};
}

// The terminal as the scan's window: a progress bar on standard error when
// it is a terminal, and the end of the scan.
class TerminalWindow : public IMessageTarget {
 public:
  void Post(unsigned message, std::uintptr_t, std::intptr_t) override {
    if (message != WM_SCAN_DONE) return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bDone = true;
    m_done.notify_all();
  }
  void Send(unsigned message, std::uintptr_t, std::intptr_t tick) override {
    if (message == WM_SCAN_PROGRESS && m_bTerminal) Draw(static_cast<int>(tick * 100 / 120));
  }
  void WaitDone() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_bDone; });
    if (m_bTerminal) {
      Draw(100);
      std::fputc('\n', stderr);
    }
  }

 private:
  static void Draw(int percent) {
    constexpr int kWidth = 40;
    int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\rScanning [%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(kWidth - filled), ' ').c_str(), percent);
    std::fflush(stderr);
  }

  bool m_bTerminal = ::isatty(STDERR_FILENO) != 0;
  std::mutex m_mutex;
  std::condition_variable m_done;
  bool m_bDone = false;
};

int RunScan(std::vector<std::string>& argv) {
  ArgParser args(argv, {}, {"--threads"});
  const long threads = args.Number("--threads", CScanThread::DefaultThreads(), 1, 64);
  Session session(args);
  CEnvironment& env = session.Edit(args.Positionals(1, 1)[0]);
  TerminalWindow window;
  if (!env.StartScan(window, static_cast<unsigned>(threads))) throw CommandError{"the scan did not start"};
  window.WaitDone();
  // A scan cut short holds part of the collection: keep the saved one.
  if (std::string error = env.EndScan(); !error.empty())
    throw CommandError{"the scan failed (" + error + "); the environment was not saved"};
  session.Save();
  std::fprintf(stderr, "%zu files in the catalogue\n", env.GetSize());
  // The process ends right after this: the saved catalogue is left for the
  // system to reclaim instead of being freed entry by entry.
  [[maybe_unused]] static CEnvironment* s_pFinished = nullptr;
  s_pFinished = session.environment.release();
  return 0;
}

int RunCatalogue(std::vector<std::string>& argv) {
  ArgParser args(argv, {}, {});
  Session session(args);
  const CEnvironment& env = session.Load(args.Positionals(1, 1)[0]);
  std::string line;
  for (size_t i = 0; i < env.GetSize(); ++i) {
    const CCatalogueEntry& e = *env.GetAt(i);
    line = EscapeControlBytes(e.GetPath());
    for (size_t k = 0; k < e.m_aNames.size(); ++k) {
      line += '\t';
      line += KindName(e.m_aKinds[k]);
      line += ':';
      line += EscapeControlBytes(e.m_aNames[k]);
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return 0;
}

}  // namespace

JB_CLI_COMMAND("new", "new ENV [--force]", "create an empty environment file",
               "  --force         replace an existing file\n", RunNew);
JB_CLI_COMMAND("add-dir", "add-dir ENV DIR [--no-subdirs] [--no-hidden] [--cloak] [--exclude EXT]...",
               "add a directory to scan (or to cloak)",
               "  --no-subdirs    do not scan sub-directories\n"
               "  --no-hidden     leave hidden files and folders out\n"
               "  --cloak         keep the directory out of the catalogue\n"
               "  --exclude EXT   do not scan files with this extension (repeatable)\n",
               RunAddDir);
JB_CLI_COMMAND("add-file", "add-file ENV FILE [--cloak]", "add a single file (or cloak it)",
               "  --cloak         keep the file out of the catalogue\n", RunAddFile);
JB_CLI_COMMAND("resources", "resources ENV", "list the environment's resources",
               "One line per resource, the fields separated by tabs.\n" JB_CLI_ESCAPE_HELP, RunResources);
JB_CLI_COMMAND("remove", "remove ENV PATH", "remove the resource with this path", "", RunRemove);
JB_CLI_COMMAND("scan", "scan ENV [--threads N]", "scan the resources and save the new catalogue",
               "  --threads N     list directories and read files on N threads (default: 16)\n", RunScan);
JB_CLI_COMMAND("catalogue", "catalogue ENV", "print each catalogue entry: path, then Kind:Name elements",
               "One line per entry, the fields separated by tabs.\n" JB_CLI_ESCAPE_HELP, RunCatalogue);

}  // namespace jb::cli
