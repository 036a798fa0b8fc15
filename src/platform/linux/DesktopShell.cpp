// The hand-off to the desktop's player through GIO.
#include <gio/gio.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Shell.h"
#include "platform/UserSettings.h"

namespace jb {
namespace {

constexpr const char* kPlayListType = "audio/x-mpegurl";

struct EnqueueForm {
  const char* executable;
  std::vector<const char*> options;  // before the play-list's path
};

// How the players that register for play-lists add one to their list.
const std::vector<EnqueueForm>& KnownPlayers() {
  static const std::vector<EnqueueForm> players = {
      {"audacious", {"-e"}},
      {"vlc", {"--one-instance", "--playlist-enqueue"}},
      {"qmmp", {"-e"}},
      {"clementine", {"-a"}},
      {"strawberry", {"-a"}},
      {"deadbeef", {"--queue"}},
      {"smplayer", {"-add-to-playlist"}},
  };
  return players;
}

template <class T, void (*Free)(T*)>
struct GPtr {
  T* p = nullptr;
  ~GPtr() {
    if (p) Free(p);
  }
};

void UnrefObject(GAppInfo* app) { g_object_unref(app); }
void FreeError(GError* error) { g_error_free(error); }
void FreeStrv(gchar** strv) { g_strfreev(strv); }

// Starts argv detached: without a pid asked for, GLib starts the program
// through an intermediate child that it reaps at once.
bool Spawn(const std::vector<std::string>& words) {
  if (words.empty()) return false;
  std::vector<char*> argv;
  for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  GPtr<GError, FreeError> error;
  return g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error.p);
}

std::string FileUri(const std::string& path) {
  gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
  std::string out = uri ? uri : "";
  g_free(uri);
  return out;
}

// A user's command: split like a shell would, never run by one.
bool RunCommand(const std::string& command, const std::string& path) {
  GPtr<gchar*, FreeStrv> parsed;
  if (!g_shell_parse_argv(command.c_str(), nullptr, &parsed.p, nullptr)) return false;
  std::vector<std::string> words;
  bool placed = false;
  for (gchar** w = parsed.p; *w; ++w) {
    std::string word = *w;
    if (word == "%f" || word == "%F") {
      word = path;
      placed = true;
    } else if (word == "%u" || word == "%U") {
      word = FileUri(path);
      placed = true;
    }
    words.push_back(std::move(word));
  }
  if (!placed) words.push_back(path);
  return Spawn(words);
}

bool Launch(GAppInfo* app, const std::string& path) {
  GFile* file = g_file_new_for_path(path.c_str());
  GList files = {file, nullptr, nullptr};
  GPtr<GError, FreeError> error;
  bool ok = g_app_info_launch(app, &files, nullptr, &error.p);
  g_object_unref(file);
  return ok;
}

bool Enqueue(GAppInfo* app, const std::string& path) {
  const char* executable = g_app_info_get_executable(app);
  if (!executable) return false;
  std::string_view name = FileNamePart(executable);
  for (const EnqueueForm& player : KnownPlayers()) {
    if (name != player.executable) continue;
    std::vector<std::string> words = {executable};
    words.insert(words.end(), player.options.begin(), player.options.end());
    words.push_back(path);
    return Spawn(words);
  }
  return false;
}

std::optional<std::string> Setting(const UserSettings& settings, const char* key) {
  std::optional<std::string> value = settings.Get(key);
  if (value && value->empty()) return std::nullopt;
  return value;
}

class DesktopShell : public IShell {
 public:
  explicit DesktopShell(const UserSettings& settings)
      : m_playCommand(Setting(settings, "PlayCommand")), m_enqueueCommand(Setting(settings, "EnqueueCommand")) {}

  bool OpenPlayList(const std::string& path, ShellAction action) override {
    const std::string absolute = AbsolutePath(path);
    const auto& command = action == ShellAction::Play ? m_playCommand : m_enqueueCommand;
    if (command) return RunCommand(*command, absolute);
    GPtr<GAppInfo, UnrefObject> app{g_app_info_get_default_for_type(kPlayListType, FALSE)};
    if (!app.p) return false;
    return action == ShellAction::Play ? Launch(app.p, absolute) : Enqueue(app.p, absolute);
  }

  bool OpenAddress(const std::string& address) override {
    GPtr<GError, FreeError> error;
    return g_app_info_launch_default_for_uri(address.c_str(), nullptr, &error.p);
  }

 private:
  std::optional<std::string> m_playCommand;
  std::optional<std::string> m_enqueueCommand;
};

}  // namespace

std::unique_ptr<IShell> CreateDesktopShell(const UserSettings& settings) {
  return std::make_unique<DesktopShell>(settings);
}

}  // namespace jb
