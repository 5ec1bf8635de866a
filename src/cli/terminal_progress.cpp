#include "cli/terminal_progress.h"

#include <cstdio>

#include "cli/stop_request.h"

namespace zorvane::cli {

namespace {

constexpr auto kFirstDraw = std::chrono::milliseconds(500);
constexpr auto kRedraw = std::chrono::milliseconds(100);

std::string Duration(std::uint64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                static_cast<unsigned long long>(seconds % 60));
  return text;
}

}  // namespace

std::string ProgressLine(const std::string& what, std::uint64_t done, std::uint64_t total,
                         double seconds) {
  std::string line = what + ": " + std::to_string(done) + " of " + std::to_string(total);
  if (seconds <= 0 || done == 0) return line;
  const double rate = static_cast<double>(done) / seconds;
  const double left = done < total ? static_cast<double>(total - done) / rate : 0;
  return line + ", " + std::to_string(static_cast<std::uint64_t>(rate)) + "/s, " +
         Duration(static_cast<std::uint64_t>(left + 0.5)) + " left";
}

TerminalProgress::TerminalProgress(std::ostream& out, bool draw, Clock::time_point started)
    : out_(out), draw_(draw), started_(started) {}

void TerminalProgress::Report(const std::string& what, std::uint64_t done, std::uint64_t total) {
  if (!draw_) return;
  const Clock::time_point now = Clock::now();
  if (now - started_ < kFirstDraw || (now - drawn_ < kRedraw && done < total)) return;
  drawn_ = now;
  const std::string line =
      ProgressLine(what, done, total, std::chrono::duration<double>(now - started_).count());
  // Spaces wipe what a longer line before left.
  out_ << '\r' << line << std::string(shownLength_ > line.size() ? shownLength_ - line.size() : 0, ' ')
       << std::flush;
  shownLength_ = line.size();
}

bool TerminalProgress::StopRequested() {
  return cli::StopRequested();
}

void TerminalProgress::Wipe() {
  if (shownLength_ == 0) return;
  out_ << '\r' << std::string(shownLength_, ' ') << '\r' << std::flush;
  shownLength_ = 0;
}

}  // namespace zorvane::cli
