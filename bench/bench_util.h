#pragma once
// Small helpers of the benchmarks: clocks, medians, the machine's description and the peak memory
// of a child program.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace trotix::bench {

inline double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// CPU time of the calling thread only: the demo server's and curl's threads are not counted.
inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The value after "key<spaces>:" on the first line of `file` that starts with `key`.
inline std::string ProcField(const char* file, const std::string& key) {
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key, 0) != 0) continue;
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    const auto start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
  }
  return {};
}

inline std::string MachineDescription() {
  return std::to_string(std::thread::hardware_concurrency()) + " CPUs (" +
         ProcField("/proc/cpuinfo", "model name") + "), " + ProcField("/proc/meminfo", "MemTotal") +
         " memory";
}

struct ChildRun {
  bool started = false;
  int exitCode = -1;
  long peakKiB = 0;       // maximum resident set size
  double cpuSeconds = 0;  // user and system time, every thread of it
};

// A process keeps, across exec, the high-water mark of the memory it was started from, so a
// child started straight from a big benchmark would report the benchmark's size. The child is
// therefore started by a fresh, small copy of this program (`--peak-of FILE PROGRAM ARGS...`),
// which writes "peak exit" to FILE. Call this first in main; it returns -1 for other command
// lines.
inline int PeakOfMain(int argc, char** argv) {
  if (argc < 4 || std::string(argv[1]) != "--peak-of") return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    execv(argv[3], argv + 3);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return 1;
  const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  std::ofstream(argv[2]) << usage.ru_maxrss << ' ' << (WIFEXITED(status) ? WEXITSTATUS(status) : -1)
                         << ' ' << cpu << '\n';
  return 0;
}

// Runs `args` to its end with its output thrown away, and reports its peak resident memory.
// `scratch` is a file the measuring copy may write; `workDir`, when given, is the child's
// working folder (the window keeps its files there).
inline ChildRun RunChild(const std::vector<std::string>& args, const std::string& scratch,
                         const std::string& workDir = {}) {
  std::vector<std::string> all = {"/proc/self/exe", "--peak-of", scratch};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (const auto& a : all) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
  ChildRun run;
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return run;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return run;
  std::ifstream in(scratch);
  run.started = static_cast<bool>(in >> run.peakKiB >> run.exitCode >> run.cpuSeconds);
  return run;
}

}  // namespace trotix::bench
