// What every end-to-end case needs: a data folder of its own, dashvell-gateway
// as a child process on ports/COMn, the real window with a box presenter that
// counts instead of blocking, and waits on the real event loop.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CDashDlg.h"

namespace dashvell::e2e {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Runs the event loop until done() holds or the time is up; true if it held.
bool PumpUntil(const std::function<bool()>& done, double seconds);
// Runs the event loop for the given time, for what must NOT happen meanwhile.
void PumpFor(double seconds);
double SecondsSince(Clock::time_point t);

// Resident memory of this process, in kB, from /proc/self/status.
long ResidentKb();

std::string ReadFile(const fs::path& path);

// Starts a program with stdin from /dev/null and stdout and stderr as given
// (empty: inherited); returns its pid or -1.
pid_t Spawn(const std::vector<std::string>& args, const fs::path& output = {});
// Waits for it and returns its exit status, or -1 when it did not exit.
int WaitExit(pid_t pid);

// The gateway program and this test program, for the cases that run them.
const char* GatewayProgram();

// dashvell-gateway as a child, its stderr and received lines in files.
class Gateway {
 public:
  Gateway(fs::path link, fs::path workDir, std::vector<std::string> extraArgs);
  ~Gateway();  // stops it if still running

  // Starts it and waits until the link is there; false if it never came.
  bool Start();
  // SIGTERM (tidy: the link goes) or SIGKILL (the link is left dangling).
  void Stop(bool kill = false);
  bool Running() const { return pid_ > 0; }

  std::string Stderr() const { return ReadFile(stderrPath_); }
  // The seconds (on the gateway's clock) at which each "AT ST1" arrived.
  std::vector<double> StreamStartTimes() const;
  std::vector<std::string> ReceivedLines() const;
  // "sent N records" from the last run that ended; -1 if none.
  long RecordsSent() const;
  const fs::path& link() const { return link_; }

 private:
  fs::path link_;
  fs::path stderrPath_;
  fs::path commandsPath_;
  std::vector<std::string> extraArgs_;
  pid_t pid_ = -1;
  int run_ = 0;
};

// One temp data folder per case, the window built as the program builds it.
class Rig {
 public:
  Rig();
  ~Rig();

  fs::path dir() const { return dir_; }
  fs::path portLink(int n = 1) const { return dir_ / "ports" / ("COM" + std::to_string(n)); }
  fs::path settingsPath() const { return dir_ / "dvlj1939.ini"; }

  std::unique_ptr<Gateway> MakeGateway(std::vector<std::string> extraArgs);

  // A window with the real serial control; opened and shown like exec().
  CDashDlg& OpenWindow();
  void CloseWindow();
  CDashDlg& dlg() { return *dlg_; }

  const std::vector<std::string>& boxes() const { return boxes_; }

  // What the operator sees.
  double Display(int id) const;
  double Pointer(int id) const;
  double Odometer(int id) const;
  bool Lit(int id) const;
  void Click(int id);
  bool Enabled(int id) const;

 private:
  fs::path dir_;
  std::vector<std::string> boxes_;
  std::unique_ptr<CDashDlg> dlg_;
};

// A steady drive for the gateway: cruising at 62 mph and 1460 rpm, cruise
// control on, the engine's amber lamp lit, coolant at 214 F.
inline const std::vector<std::string> kCruise = {"--hold", "cruise, engine amber lamp"};

// Gateway arguments a followed by b.
inline std::vector<std::string> With(std::vector<std::string> a,
                                     const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace dashvell::e2e
