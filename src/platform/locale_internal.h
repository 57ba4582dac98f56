#pragma once
// A locale object of its own for one category, used through the *_l functions so that the
// process-wide locale is never touched.
#include <locale.h>

#include <string>

namespace platform::locale_internal {

class LocaleHandle {
  public:
    // Loads `name` for the categories in `mask`; Valid() is false when it is not installed.
    LocaleHandle(int mask, const std::string& name);
    ~LocaleHandle();
    LocaleHandle(const LocaleHandle&) = delete;
    LocaleHandle& operator=(const LocaleHandle&) = delete;
    bool Valid() const { return handle_ != locale_t(0); }
    locale_t Get() const { return handle_; }

  private:
    locale_t handle_ = locale_t(0);
};

// "C", "POSIX" and their variants ("C.UTF-8"): the locales without regional conventions.
bool IsNeutralLocale(const std::string& name);

}  // namespace platform::locale_internal
