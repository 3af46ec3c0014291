#pragma once
// Walks a tool's command line one argument at a time. An option's value is
// given as "--name VALUE" or "--name=VALUE"; a bad or missing value is an
// ArgumentError whose text names the option, for the tool to print with its
// own prefix and a pointer to its --help.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class ArgumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ArgumentReader {
public:
    ArgumentReader(int argc, char** argv);  // argv[0], the program, is skipped
    explicit ArgumentReader(std::vector<std::string> args);

    // Moves to the next argument; false when there is none.
    bool next();
    // The argument as given, and its option name: the text before any "=".
    const std::string& argument() const { return m_args[m_current]; }
    std::string name() const;
    // True for a flag given exactly so (a flag takes no "=VALUE").
    bool is(std::string_view flag) const { return argument() == flag; }

    // The current option's value: after its "=", or else the next argument,
    // which is then used up. `wanted` says what the value is, for the error
    // "<name> needs <wanted>".
    std::string text(std::string_view wanted = "a value");
    // The value as a decimal whole number from `min` to `max`; `wanted`
    // defaults to "a whole number from <min> to <max>".
    long number(long min, long max, std::string_view wanted = {});

private:
    [[noreturn]] void fail(std::string_view wanted) const;

    std::vector<std::string> m_args;
    std::size_t m_next = 0;
    std::size_t m_current = 0;
};

}  // namespace tv
