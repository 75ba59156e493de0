// The process under a decimal-comma locale for the length of a scope, as the
// application is when the operator's LC_ALL is German: QApplication hands the
// environment's locale to the C library, so strtod and printf then use a comma.
#pragma once

#include <clocale>
#include <cstdlib>
#include <string>

namespace halvix::testing {

class CommaLocale {
 public:
  CommaLocale() : before_(std::setlocale(LC_ALL, nullptr)) {
    // Only a locale that really reads "1,5" counts.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) return;
    char* end = nullptr;
    active_ = std::strtod("1,5", &end) == 1.5 && *end == '\0';
  }
  ~CommaLocale() { std::setlocale(LC_ALL, before_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool active() const { return active_; }
  static constexpr const char* kSkipReason =
      "the de_DE.UTF-8 locale is not installed (scripts/test.sh generates it)";

 private:
  std::string before_;
  bool active_ = false;
};

}  // namespace halvix::testing
