#pragma once

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "median.h"
#include "process_measurement.h"

// The rows of the benchmark table, their medians, and the aims they are held to.
namespace zorvane::bench {

// What a row stands for among the aims.
enum class Aim {
  None,
  Listing,
  Insertion,
  MemberCopies,
  Conversion,
  OneThread,
  Decoding,
  Encoding,
  Window,
  BrowseFilter,
  BrowsePicture
};

struct Row {
  std::string Command;
  std::string Work;
  // Throughput: Amount (or the third number a self-timed run reported) per second of wall
  // time, or of CPU time for PerCpuSecond.
  double Amount = 0;
  std::string Unit;
  bool PerCpuSecond = false;
  std::string Floor;
  Aim Stands = Aim::None;
  std::vector<Measurement> Runs;
  std::vector<Measurement> FloorRuns;

  double WallMedian() const;
  double CpuMedian() const;
  double FloorMedian() const;
  double RateMedian() const;
  long PeakKiB() const;  // the highest of all runs
};

// Wall and CPU time of a run: what the work timed itself when it did (its first two numbers),
// else the whole process.
double WallOf(const Measurement& run);
double CpuOf(const Measurement& run);

class Table {
 public:
  Row& Add(std::string command, std::string work, double amount, std::string unit,
           std::string floor, Aim stands = Aim::None);
  // The table, then each aim with its figure.
  void Print(std::ostream& out, int runs) const;

  long OwnKiB = 0;  // the measuring program's own size, which every forked child starts with

 private:
  const Row* Find(Aim aim) const;
  void PrintAims(std::ostream& out) const;

  std::deque<Row> rows_;  // a deque: Add's references stay valid
};

std::string FormatCount(double count);
std::string FormatBytes(double bytes);
std::string FormatSeconds(double seconds);
std::string FormatRate(double perSecond, const std::string& unit);

}  // namespace zorvane::bench
