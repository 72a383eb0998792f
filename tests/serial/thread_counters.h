// Wake-up counts of this process's threads, from /proc: how often a thread went to
// sleep of its own accord (and so was woken again) is what a polling loop costs.
#pragma once

#include <dirent.h>
#include <sys/syscall.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <string>

namespace orlimo::test {

inline std::set<int> ThreadIds() {
  std::set<int> ids;
  if (DIR* d = ::opendir("/proc/self/task")) {
    while (const dirent* e = ::readdir(d)) {
      if (e->d_name[0] != '.') ids.insert(std::atoi(e->d_name));
    }
    ::closedir(d);
  }
  return ids;
}

inline std::string ThreadName(int tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/comm");
  std::string name;
  std::getline(in, name);
  return name;
}

// The first thread of that name; 0 when there is none.
inline int FindThread(const std::string& name) {
  for (int tid : ThreadIds()) {
    if (ThreadName(tid) == name) return tid;
  }
  return 0;
}

// The thread waits in poll (or ppoll) on `fds` descriptors, with or without a
// timeout; nothing when it is in another system call or none (/proc/.../syscall).
struct PollWait {
  unsigned long fds = 0;
  bool timeout = false;
  bool operator==(const PollWait&) const = default;
};
inline std::optional<PollWait> ThreadPollWait(int tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/syscall");
  long number = -1;
  unsigned long args[3] = {};
  if (!(in >> number >> std::hex >> args[0] >> args[1] >> args[2])) return std::nullopt;
#ifdef SYS_poll
  if (number == SYS_poll) return PollWait{args[1], static_cast<int>(args[2]) >= 0};
#endif
  if (number == SYS_ppoll) return PollWait{args[1], args[2] != 0};
  return std::nullopt;
}

// Times the thread gave up the processor to wait; -1 when it is gone.
inline long VoluntarySwitches(int tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/status");
  const std::string key = "voluntary_ctxt_switches:";
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + key.size());
  }
  return -1;
}

// Processor time the thread has used, in nanoseconds (the scheduler's count, finer
// than the clock ticks of /proc/.../stat); -1 when it is gone.
inline long long ThreadCpuNanoseconds(int tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/schedstat");
  long long ns = -1;
  in >> ns;
  return in ? ns : -1;
}

}  // namespace orlimo::test
