// The member table against what is said of it elsewhere: the user
// reference that ships in the zip describes exactly its members.
#include "config/member_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace {

// The members the reference describes: the quoted names that open a
// definition line of its section on mapping files.
std::set<std::string> MembersInTheReference() {
    std::ifstream in(QUILLFRET_USER_REFERENCE);
    std::set<std::string> names;
    bool in_section = false;
    const std::regex definition(R"re(^  "([a-z_]+)")re");
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("5. Mapping files")) in_section = true;
        if (line.starts_with("6. ")) in_section = false;
        std::smatch match;
        if (in_section && std::regex_search(line, match, definition)) names.insert(match[1]);
    }
    return names;
}

TEST(MemberTable, TheUserReferenceDescribesExactlyItsMembers) {
    std::set<std::string> members;
    for (const MemberPlace place : {MemberPlace::File, MemberPlace::Entry}) {
        for (const MemberRow& row : MembersOf(place)) members.insert(std::string(row.name));
    }
    EXPECT_EQ(MembersInTheReference(), members) << "packaging/README.txt, section 5";
}

}  // namespace
