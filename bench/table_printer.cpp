#include "table_printer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zorvane::bench {

namespace {

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Three significant digits.
std::string Significant(double value) {
  if (value >= 100) return Printf("%.0f", value);
  if (value >= 10) return Printf("%.1f", value);
  return Printf("%.2f", value);
}

std::string Ratio(double value) {
  return std::isfinite(value) && value > 0 ? Significant(value) + " x" : "-";
}

std::string MiB(long kib) {
  return Printf("%.1f MiB", static_cast<double>(kib) / 1024.0);
}

std::string Verdict(bool met) {
  return met ? "met" : "NOT MET";
}

void Line(std::ostream& out, const std::string& aim, const std::string& figure, bool met) {
  out << "- " << aim << ": " << figure << " -- " << Verdict(met) << '\n';
}

}  // namespace

double WallOf(const Measurement& run) {
  return run.Reported.size() >= 2 ? run.Reported[0] : run.WallSeconds;
}

double CpuOf(const Measurement& run) {
  return run.Reported.size() >= 2 ? run.Reported[1] : run.CpuSeconds;
}

namespace {

template <class Figure>
double MedianOf(const std::vector<Measurement>& runs, Figure figure) {
  std::vector<double> values;
  for (const auto& run : runs) values.push_back(figure(run));
  return Median(values);
}

}  // namespace

double Row::WallMedian() const {
  return MedianOf(Runs, WallOf);
}

double Row::CpuMedian() const {
  return MedianOf(Runs, CpuOf);
}

double Row::FloorMedian() const {
  return MedianOf(FloorRuns, WallOf);
}

double Row::RateMedian() const {
  return MedianOf(Runs, [this](const Measurement& run) {
    const double amount = run.Reported.size() >= 3 ? run.Reported[2] : Amount;
    return amount / (PerCpuSecond ? CpuOf(run) : WallOf(run));
  });
}

long Row::PeakKiB() const {
  long peak = 0;
  for (const auto& run : Runs) peak = std::max(peak, run.PeakKiB);
  return peak;
}

Row& Table::Add(std::string command, std::string work, double amount, std::string unit,
                std::string floor, Aim stands) {
  Row& row = rows_.emplace_back();
  row.Command = std::move(command);
  row.Work = std::move(work);
  row.Amount = amount;
  row.Unit = std::move(unit);
  row.Floor = std::move(floor);
  row.Stands = stands;
  return row;
}

const Row* Table::Find(Aim aim) const {
  for (const Row& row : rows_) {
    if (row.Stands == aim && !row.Runs.empty()) return &row;
  }
  return nullptr;
}

void Table::Print(std::ostream& out, int runs) const {
  out << "\n| command | work | wall | CPU | throughput | peak memory | floor | floor wall | "
         "ratio |\n|---|---|---|---|---|---|---|---|---|\n";
  for (const Row& row : rows_) {
    if (row.Runs.empty()) continue;
    const bool floored = !row.FloorRuns.empty();
    out << "| " << row.Command << " | " << row.Work << " | " << FormatSeconds(row.WallMedian())
        << " | " << FormatSeconds(row.CpuMedian()) << " | "
        << FormatRate(row.RateMedian(), row.Unit) << (row.PerCpuSecond ? " (CPU)" : "") << " | "
        << MiB(row.PeakKiB()) << " | " << (floored ? row.Floor : "-") << " | "
        << (floored ? FormatSeconds(row.FloorMedian()) : "-") << " | "
        << (floored ? Ratio(row.WallMedian() / row.FloorMedian()) : "-") << " |\n";
  }
  out << "\nMedians of " << runs << " runs (the whole-archive extraction: of its own count); "
      << "peak memory is the highest run's ru_maxrss, which counts the " << MiB(OwnKiB)
      << " of the measuring program that a forked child starts with.\n\n";
  PrintAims(out);
}

void Table::PrintAims(std::ostream& out) const {
  out << "Aims:\n";
  if (const Row* list = Find(Aim::Listing)) {
    Line(out, "listing " + FormatCount(list->Amount) + " records under 50 ms",
         list->Command + " in " + FormatSeconds(list->WallMedian()), list->WallMedian() < 0.050);
  }
  if (const Row* insert = Find(Aim::Insertion)) {
    const double ratio = insert->WallMedian() / insert->FloorMedian();
    Line(out, "insertion into the " + FormatBytes(insert->Amount) + " archive within 1.5 x cp",
         FormatSeconds(insert->WallMedian()) + ", " + Ratio(ratio) + " " + insert->Floor,
         ratio <= 1.5);
  }
  if (const Row* copies = Find(Aim::MemberCopies)) {
    const double reading = copies->FloorMedian();
    const double ratio = copies->WallMedian() / reading;
    Line(out, "extraction of a whole archive within 2 x reading it",
         "its members copied out in " + FormatSeconds(copies->WallMedian()) + ", " + Ratio(ratio) +
             " reading (" + FormatSeconds(reading) + ")",
         ratio <= 2);
    if (const Row* all = Find(Aim::Conversion)) {
      const double converted = all->WallMedian() / reading;
      Line(out, "  the same with every sub-image converted into a BMP file",
           FormatSeconds(all->WallMedian()) + ", " + Ratio(converted) + " reading, " +
               Ratio(all->WallMedian() / all->FloorMedian()) + " writing the same files alone",
           converted <= 2);
      const double alone = all->WallMedian() / all->FloorMedian();
      Line(out, "extract til --all within 1.5 x writing the same files alone",
           FormatSeconds(all->WallMedian()) + ", " + Ratio(alone) + " " +
               FormatSeconds(all->FloorMedian()),
           alone <= 1.5);
      if (const Row* one = Find(Aim::OneThread)) {
        Line(out, "  and faster on both cores than on one",
             FormatSeconds(all->WallMedian()) + " against " + FormatSeconds(one->WallMedian()),
             all->WallMedian() < one->WallMedian());
      }
    }
  }
  for (const auto& [aim, name] :
       {std::pair{Aim::Decoding, "decoding"}, {Aim::Encoding, "encoding"}}) {
    if (const Row* coding = Find(aim)) {
      Line(out, std::string(name) + " above 200 million pixels per second on one core",
           FormatRate(coding->RateMedian(), "px") + " of CPU time", coding->RateMedian() > 200e6);
    }
  }
  const Row* largest = nullptr;
  for (const Row& row : rows_) {
    if (row.Runs.empty() || row.Command.starts_with("(")) continue;
    if (largest == nullptr || row.PeakKiB() > largest->PeakKiB()) largest = &row;
  }
  if (largest != nullptr) {
    Line(out, "peak memory of every command under 64 MiB",
         "highest " + MiB(largest->PeakKiB()) + " (" + largest->Command + ")",
         largest->PeakKiB() < 64 * 1024);
  }
  if (const Row* window = Find(Aim::Window)) {
    const auto& reported = window->Runs.front().Reported;
    Line(out, "the main window shows " + FormatCount(window->Amount) + " rows without a pause",
         FormatSeconds(window->WallMedian()) + " from the click to the painted list (handler " +
             FormatSeconds(reported.at(3)) + ", Refresh and painting " +
             FormatSeconds(reported.at(4)) + "), " + MiB(window->PeakKiB()) + " in all",
         window->WallMedian() < 0.1);
  }
  if (const Row* filter = Find(Aim::BrowseFilter)) {
    Line(out, "a filter keystroke in the Browse window under 30 ms",
         FormatSeconds(filter->WallMedian()) + " from the key to the painted table of " +
             FormatCount(filter->Amount) + " rows",
         filter->WallMedian() < 0.03);
  }
  if (const Row* picture = Find(Aim::BrowsePicture)) {
    Line(out, "the first picture of the largest tile file under 50 ms",
         FormatSeconds(picture->WallMedian()) + " from the chosen row to the painted preview",
         picture->WallMedian() < 0.05);
  }
}

std::string FormatCount(double count) {
  const std::string digits = std::to_string(std::llround(count));
  // Groups of three digits, a thin gap between them.
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0 && digits[i - 1] != '-') grouped += ' ';
    grouped += digits[i];
  }
  return grouped;
}

std::string FormatBytes(double bytes) {
  if (bytes >= 1e6) return Significant(bytes / 1e6) + " MB";
  if (bytes >= 1e3) return Significant(bytes / 1e3) + " kB";
  return FormatCount(bytes) + " B";
}

std::string FormatSeconds(double seconds) {
  if (!std::isfinite(seconds)) return "-";
  if (seconds < 1) return Significant(seconds * 1e3) + " ms";
  return Significant(seconds) + " s";
}

std::string FormatRate(double perSecond, const std::string& unit) {
  if (!std::isfinite(perSecond) || perSecond <= 0) return "-";
  // "MB/s" and "Mpx/s", but "M rows/s".
  const std::string gap = unit == "B" || unit == "px" ? "" : " ";
  if (perSecond >= 1e9) return Significant(perSecond / 1e9) + " G" + gap + unit + "/s";
  if (perSecond >= 1e6) return Significant(perSecond / 1e6) + " M" + gap + unit + "/s";
  if (perSecond >= 1e3) return Significant(perSecond / 1e3) + " k" + gap + unit + "/s";
  return Significant(perSecond) + " " + unit + "/s";
}

}  // namespace zorvane::bench
