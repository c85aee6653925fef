#include "sim/PurityProfile.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>

namespace zrv::sim {

namespace {

// Bounded so that a silly ramp step cannot overflow before clamping.
constexpr double kInputLimit = 1e6;
constexpr std::int64_t kPositionLimit = 1'000'000'000;

std::int64_t ToTenths(double percent) {
  return std::llround(std::clamp(percent, -kInputLimit, kInputLimit) * 10.0);
}

}  // namespace

PurityProfile::PurityProfile(std::vector<std::int64_t> values, std::int64_t step)
    : values_(std::move(values)), stepTenths_(step) {}

PurityProfile PurityProfile::Constant(double percent) {
  return List({percent});
}

PurityProfile PurityProfile::List(const std::vector<double>& percents) {
  if (percents.empty()) throw std::invalid_argument("purity list is empty");
  std::vector<std::int64_t> values;
  std::transform(percents.begin(), percents.end(), std::back_inserter(values), ToTenths);
  return PurityProfile(std::move(values), 0);
}

PurityProfile PurityProfile::Ramp(double startPercent, double stepPercent) {
  return PurityProfile({ToTenths(startPercent)}, ToTenths(stepPercent));
}

int PurityProfile::NextTenths() {
  const std::int64_t last = static_cast<std::int64_t>(values_.size()) - 1;
  const std::int64_t raw = stepTenths_ != 0 ? values_.front() + position_ * stepTenths_
                                            : values_[std::min(position_, last)];
  position_ = std::min(position_ + 1, kPositionLimit);
  return static_cast<int>(std::clamp<std::int64_t>(raw, 0, 1000));
}

std::string PurityProfile::Format(int tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

}  // namespace zrv::sim
