#include "tests/E2eHarness.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/AnalogDisplay.h"
#include "platform/AngularGauge.h"
#include "platform/LedRectangle.h"
#include "platform/Odometer.h"
#include "platform/ProgramPaths.h"

extern char** environ;

namespace dashvell::e2e {

double SecondsSince(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

bool PumpUntil(const std::function<bool()>& done, double seconds) {
  const auto start = Clock::now();
  // A short tick keeps the loop from sleeping past the deadline.
  QTimer tick;
  tick.start(10);
  while (!done()) {
    if (SecondsSince(start) >= seconds) return false;
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

void PumpFor(double seconds) {
  PumpUntil([] { return false; }, seconds);
}

long ResidentKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

pid_t Spawn(const std::vector<std::string>& args, const fs::path& output) {
  std::vector<std::string> copy = args;
  std::vector<char*> argv;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!output.empty()) {
    posix_spawn_file_actions_addopen(&actions, 2, output.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 2, 1);
  }
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int WaitExit(pid_t pid) {
  int status = 0;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

const char* GatewayProgram() {
  return DASHVELL_GATEWAY_BIN;
}

Gateway::Gateway(fs::path link, fs::path workDir, std::vector<std::string> extraArgs)
    : link_(std::move(link)),
      stderrPath_(workDir / "gateway-stderr.txt"),
      commandsPath_(workDir / "gateway-commands.txt"),
      extraArgs_(std::move(extraArgs)) {}

Gateway::~Gateway() {
  Stop();
}

bool Gateway::Start() {
  std::vector<std::string> args = {DASHVELL_GATEWAY_BIN, "--pty", link_.string(), "--log-commands",
                                   commandsPath_.string()};
  args.insert(args.end(), extraArgs_.begin(), extraArgs_.end());
  pid_ = Spawn(args, stderrPath_);
  if (pid_ < 0) return false;
  ++run_;
  // The gateway replaces the link with its new pty; wait for the target to be live.
  const std::string marker = "listening on";
  return PumpUntil(
      [&] {
        size_t seen = 0;
        const std::string err = Stderr();
        for (size_t p = err.find(marker); p != std::string::npos; p = err.find(marker, p + 1))
          ++seen;
        return seen >= size_t(run_) && fs::exists(link_);
      },
      5);
}

void Gateway::Stop(bool kill) {
  if (pid_ <= 0) return;
  ::kill(pid_, kill ? SIGKILL : SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

std::vector<std::string> Gateway::ReceivedLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(commandsPath_));
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<double> Gateway::StreamStartTimes() const {
  std::vector<double> times;
  for (const std::string& line : ReceivedLines()) {
    const size_t blank = line.find(' ');
    if (blank == std::string::npos || line.substr(blank + 1) != "AT ST1") continue;
    times.push_back(std::atof(line.c_str()));
  }
  return times;
}

long Gateway::RecordsSent() const {
  const std::string err = Stderr();
  const std::string marker = "sent ";
  const size_t p = err.rfind(marker);
  if (p == std::string::npos) return -1;
  return std::atol(err.c_str() + p + marker.size());
}

Rig::Rig() {
  std::string dir = (fs::temp_directory_path() / "dashvell-e2e-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr) std::abort();
  dir_ = dir;
  fs::create_directories(dir_ / "ports");
  OverrideDataDirectory(dir_);
}

Rig::~Rig() {
  CloseWindow();
  OverrideDataDirectory({});
  std::error_code ec;
  fs::permissions(settingsPath(), fs::perms::owner_all, ec);
  fs::remove_all(dir_, ec);
}

std::unique_ptr<Gateway> Rig::MakeGateway(std::vector<std::string> extraArgs) {
  return std::make_unique<Gateway>(portLink(), dir_, std::move(extraArgs));
}

CDashDlg& Rig::OpenWindow() {
  CloseWindow();
  DashServices services;
  services.showWarning = [this](QWidget*, const QString& caption, const QString& text) {
    boxes_.push_back((caption + ": " + text).toStdString());
  };
  dlg_ = std::make_unique<CDashDlg>(std::move(services));
  dlg_->show();
  dlg_->OnInitDialog();
  return *dlg_;
}

void Rig::CloseWindow() {
  if (!dlg_) return;
  dlg_->hide();
  dlg_.reset();
  QApplication::processEvents();
}

namespace {
// The instruments carry no meta-object of their own; a missing or wrong
// control id must fail loudly rather than read garbage.
template <typename T>
T& As(QWidget* w) {
  T* t = dynamic_cast<T*>(w);
  if (!t) throw std::logic_error("no such instrument");
  return *t;
}
}  // namespace

double Rig::Display(int id) const {
  return As<AnalogDisplay>(dlg_->item(id)).shownValue();
}
double Rig::Pointer(int id) const {
  return As<AngularGauge>(dlg_->item(id)).pointerValue();
}
double Rig::Odometer(int id) const {
  return As<dashvell::Odometer>(dlg_->item(id)).shownValue();
}
bool Rig::Lit(int id) const {
  return As<LedRectangle>(dlg_->item(id)).lit();
}
void Rig::Click(int id) {
  qobject_cast<QAbstractButton*>(dlg_->item(id))->click();
}
bool Rig::Enabled(int id) const {
  return dlg_->item(id)->isEnabled();
}

}  // namespace dashvell::e2e
