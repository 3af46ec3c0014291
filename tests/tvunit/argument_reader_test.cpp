// The tools' shared argument reader: both value forms, ranges, and errors that
// name the option.
#include "tools/common/argument_reader.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ArgumentReader, ReadsValuesInBothFormsAndFlagsExactly) {
    ArgumentReader args({"--link", "/tmp/a", "--flood=7", "--silent", "--log=", "--x=--y"});
    std::vector<std::string> seen;
    while (args.next()) {
        if (args.is("--silent")) {
            seen.push_back("flag");
        } else if (args.name() == "--flood") {
            seen.push_back(std::to_string(args.number(0, 10)));
        } else {
            seen.push_back(args.name() + ":" + args.text());
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"--link:/tmp/a", "7", "flag", "--log:", "--x:--y"}));
}

TEST(ArgumentReader, BadValuesAreErrorsNamingTheOption) {
    struct Case {
        std::vector<std::string> args;
        const char* wanted;  // "" for the default range text
        const char* message;
    };
    const Case cases[] = {
        {{"--wire"}, "", "--wire needs a whole number from 50 to 1000"},
        {{"--wire", "49"}, "", "--wire needs a whole number from 50 to 1000"},
        {{"--wire=1001"}, "", "--wire needs a whole number from 50 to 1000"},
        {{"--wire", "9600x"}, "", "--wire needs a whole number from 50 to 1000"},
        {{"--wire", "99999999999999999999"}, "", "--wire needs a whole number from 50 to 1000"},
        {{"--delay", "-1"}, "a count", "--delay needs a count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        ArgumentReader args(c.args);
        ASSERT_TRUE(args.next());
        try {
            args.number(50, 1000, c.wanted);
            ADD_FAILURE() << "accepted";
        } catch (const ArgumentError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace tv
