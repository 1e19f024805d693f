#pragma once
// A command line run through the shell, as a user would type it: its standard output and exit
// status.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace trotix::testing {

struct ShellRun {
  int status = -1;
  std::string out;
};

inline ShellRun RunShell(const std::string& command) {
  ShellRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 65536> buf;
  for (std::size_t n; (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0;)
    run.out.append(buf.data(), n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

}  // namespace trotix::testing
