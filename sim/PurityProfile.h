// Where the simulated purity readings come from: a constant, a fixed list or a
// ramp, one value per PURITY? query. Values are kept in tenths of a percent so
// the alarm comparison sees exactly the number the reply shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zrv::sim {

class PurityProfile {
 public:
  static PurityProfile Constant(double percent);
  // The last value repeats once the list is used up; the list must not be empty.
  static PurityProfile List(const std::vector<double>& percents);
  static PurityProfile Ramp(double startPercent, double stepPercent);

  // The next reading in tenths of a percent, clamped to 0..1000.
  int NextTenths();

  // "100.0%", "99.5%", "9.9%".
  static std::string Format(int tenths);

 private:
  PurityProfile(std::vector<std::int64_t> values, std::int64_t step);

  // A list holds its values with step 0; a ramp holds only its start.
  std::vector<std::int64_t> values_;
  std::int64_t stepTenths_;
  std::int64_t position_ = 0;
};

}  // namespace zrv::sim
