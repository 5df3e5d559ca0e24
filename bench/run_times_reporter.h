// The console report of Google Benchmark that also keeps each benchmark's time, so that a program
// can print its ratios against the baseline of the same run after the table.
#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

class RunTimesReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median stands for the benchmark, else the single run.
    for (const Run& r : runs) {
      if (r.error_occurred) continue;
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        m_times[r.run_name.str()] = r.GetAdjustedRealTime();
      else if (r.run_type == Run::RT_Iteration && !m_times.count(r.run_name.str()))
        m_times[r.run_name.str()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

 protected:
  // The time of a benchmark by its full name (with "/real_time" when it measures real time), in
  // its own unit; 0 when it did not run.
  double Time(const std::string& name) const {
    const auto it = m_times.find(name);
    return it == m_times.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> m_times;
};
