#include <locale.h>

#include <cstdlib>

#include "synth/long_double_parse.h"

namespace tv {
namespace {

// The "C" locale, so that strtold reads "." whatever locale the program runs in
// (the window's toolkit sets the user's locale for the whole process).
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

}  // namespace

bool readLongDouble(const std::string& plain, long double& value) {
    char* end = nullptr;
    value = strtold_l(plain.c_str(), &end, cLocale());
    return end == plain.c_str() + plain.size();
}

}  // namespace tv
