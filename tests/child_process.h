// A built program run as a real child process, for tests that send it signals: its
// standard output is read line by line, each line stamped with the time it arrived
// (the programs flush every line), and its standard error is kept for messages.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orlimo::test {

class ChildProcess {
 public:
  using Clock = std::chrono::steady_clock;
  struct Line {
    std::string text;
    Clock::time_point at;
  };

  // Starts `argv` in the folder `cwd` (empty: this one).
  explicit ChildProcess(const std::vector<std::string>& argv, const std::string& cwd = {}) {
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) ::_exit(127);
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (Running()) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
    if (err_ >= 0) ::close(err_);
  }

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  void Signal(int signal) const { ::kill(pid_, signal); }
  const std::vector<Line>& Lines() const { return lines_; }
  const std::string& Errors() const { return errors_; }

  // Reads until `done()` holds or `timeout` has passed; whether it held.
  bool ReadUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!done()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
      if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count()))) return done();
    }
    return true;
  }
  void ReadFor(std::chrono::milliseconds time) {
    ReadUntil([] { return false; }, time);
  }

  // Reads to the end and reaps the child: its exit status, or -1 when a signal ended it
  // or it still ran after `timeout` (it is then killed).
  int Wait(std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (out_ >= 0 || err_ >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
      if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count()))) break;
    }
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
      if (Clock::now() >= end) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return -1;
      }
      ::usleep(10'000);
    }
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  bool Running() const { return pid_ > 0 && !reaped_; }

  // Waits up to `ms` for output and takes it in; false when both pipes have ended.
  bool ReadSome(int ms) {
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    if (out_ < 0 && err_ < 0) return false;
    if (::poll(fds, 2, ms) <= 0) return true;
    char buf[4096];
    if (fds[0].revents != 0) {
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) {
        ::close(out_);
        out_ = -1;
      }
      const auto now = Clock::now();
      for (ssize_t i = 0; i < n; ++i) {
        if (buf[i] != '\n') {
          partial_ += buf[i];
          continue;
        }
        lines_.push_back({partial_, now});
        partial_.clear();
      }
    }
    if (fds[1].revents != 0) {
      const ssize_t n = ::read(err_, buf, sizeof buf);
      if (n <= 0) {
        ::close(err_);
        err_ = -1;
      } else {
        errors_.append(buf, static_cast<std::size_t>(n));
      }
    }
    return true;
  }

  pid_t pid_ = -1;
  bool reaped_ = false;
  int out_ = -1;
  int err_ = -1;
  std::string partial_;
  std::vector<Line> lines_;
  std::string errors_;
};

// A folder of its own under /tmp for one test, removed with everything in it.
struct TempDir {
  TempDir() {
    char name[] = "/tmp/orlimo-test-XXXXXX";
    if (::mkdtemp(name) != nullptr) path = name;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path;
};

// The files in `dir` whose names begin with `prefix` and end with `suffix`.
inline std::vector<std::filesystem::path> Files(const std::string& dir, const std::string& prefix, const std::string& suffix) {
  std::vector<std::filesystem::path> found;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string name = e.path().filename();
    if (name.starts_with(prefix) && name.ends_with(suffix)) found.push_back(e.path());
  }
  return found;
}

}  // namespace orlimo::test
