#include "platform/locale.h"

#include <langinfo.h>

#include <cstdlib>

#include "platform/locale_internal.h"

namespace platform {
namespace locale_internal {

LocaleHandle::LocaleHandle(int mask, const std::string& name) {
    if (!name.empty()) handle_ = newlocale(mask, name.c_str(), locale_t(0));
}

LocaleHandle::~LocaleHandle() {
    if (Valid()) freelocale(handle_);
}

bool IsNeutralLocale(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0 ||
           name.rfind("POSIX.", 0) == 0;
}

}  // namespace locale_internal

namespace {

using locale_internal::IsNeutralLocale;
using locale_internal::LocaleHandle;

// The locale a category follows, in the usual order of precedence.
std::string LocaleNameFor(const char* category) {
    for (const char* variable : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

// A separator as one character. Where the locale has a character outside ASCII (a narrow
// no-break space, a typographic apostrophe) `multiByte` stands in for it.
char SingleCharacter(const char* text, char multiByte) {
    if (!text || !*text) return '\0';
    return text[1] == '\0' && static_cast<unsigned char>(text[0]) < 0x80 ? text[0] : multiByte;
}

void ApplyNumeric(const std::string& name, FormatSettings& fs) {
    if (IsNeutralLocale(name)) return;
    LocaleHandle numeric(LC_NUMERIC_MASK, name);
    if (!numeric.Valid()) return;
    char decimal = SingleCharacter(nl_langinfo_l(RADIXCHAR, numeric.Get()), '.');
    fs.decimalSeparator = decimal ? decimal : '.';
    char thousands = SingleCharacter(nl_langinfo_l(THOUSEP, numeric.Get()), ' ');
    fs.thousandSeparator = thousands == fs.decimalSeparator ? '\0' : thousands;
}

void ApplyTime(const std::string& name, FormatSettings& fs) {
    if (IsNeutralLocale(name)) return;
    LocaleHandle time(LC_TIME_MASK, name);
    if (!time.Valid()) return;
    const char* date = nl_langinfo_l(D_FMT, time.Get());
    const char* clock = nl_langinfo_l(T_FMT, time.Get());
    if (date && *date) fs.shortDateFormat = date;
    if (clock && *clock) fs.longTimeFormat = clock;
    fs.localeName = name;
}

}  // namespace

FormatSettings ProgramFormat() {
    return FormatSettings{};
}

FormatSettings UserFormat() {
    // Without regional conventions: "." decimals, no grouping, ISO dates and a 24-hour clock.
    FormatSettings fs;
    fs.thousandSeparator = '\0';
    fs.shortDateFormat = "%Y-%m-%d";
    fs.longTimeFormat = "%H:%M:%S";
    fs.localeName = "C";
    ApplyNumeric(LocaleNameFor("LC_NUMERIC"), fs);
    ApplyTime(LocaleNameFor("LC_TIME"), fs);
    return fs;
}

}  // namespace platform
