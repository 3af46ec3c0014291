#include "tools/common/argument_reader.h"

#include <cerrno>
#include <cstdlib>

namespace tv {

ArgumentReader::ArgumentReader(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) m_args.emplace_back(argv[i]);
}

ArgumentReader::ArgumentReader(std::vector<std::string> args) : m_args(std::move(args)) {}

bool ArgumentReader::next() {
    if (m_next >= m_args.size()) return false;
    m_current = m_next++;
    return true;
}

std::string ArgumentReader::name() const { return argument().substr(0, argument().find('=')); }

void ArgumentReader::fail(std::string_view wanted) const {
    throw ArgumentError(name() + " needs " + std::string(wanted));
}

std::string ArgumentReader::text(std::string_view wanted) {
    const std::string& arg = argument();
    const std::size_t equals = arg.find('=');
    if (equals != std::string::npos) return arg.substr(equals + 1);
    if (m_next >= m_args.size()) fail(wanted);
    return m_args[m_next++];
}

long ArgumentReader::number(long min, long max, std::string_view wanted) {
    const std::string range =
        "a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    if (wanted.empty()) wanted = range;
    const std::string value = text(wanted);
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (errno != 0 || end == value.c_str() || *end != '\0' || n < min || n > max) fail(wanted);
    return n;
}

}  // namespace tv
