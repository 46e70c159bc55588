#include "legacy/schema.h"

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/legacy/legacy_support.h"

namespace {

using namespace dnsmodel;

struct lookup {
  int result;
  std::string member;
  std::string typeText;
};

// Buffers start filled with a mark, so an untouched buffer shows.
lookup Ask(const char* className, const char* member) {
  char memberText[kMemberTextBytes];
  char typeText[kTypeTextBytes];
  std::memset(memberText, '#', sizeof memberText);
  std::memset(typeText, '#', sizeof typeText);
  std::snprintf(memberText, sizeof memberText, "%s", member);
  typeText[kTypeTextBytes - 1] = 0;
  int result = GetMemberInfo(className, memberText, typeText);
  return {result, memberText, typeText};
}

const std::string kUntouchedType(kTypeTextBytes - 1, '#');

TEST(LegacySchemaTest, LookupsAnswerAsTheTableSays) {
  struct row {
    const char* className;
    const char* member;
    const char* name;  // member text after the call; null: a result of 0 with both buffers untouched
    const char* type;  // null: the type's size (member emptied, type untouched)
  } rows[] = {
      {"object", "object", "", nullptr},
      {"object", "Object", nullptr, nullptr},
      {"wing", "3", "Y", "vector"},
      {"wing", "Y", "Y", "vector"},
      {"wing", "53", nullptr, nullptr},
      {"harrier", "X", nullptr, nullptr},
      {"harrier", "1", "ForceMax", "float"},
      {"wind", "0", nullptr, nullptr},
      {"wind", "wind", "", nullptr},
      {"dynamicsystem", "dynamicsystem", "", nullptr},
      {"engine", "SoundFile", "SoundFile", "char"},
      {"sound", "SoundFile", "SoundFile", "char"},
      {"wing", "00", nullptr, nullptr},
      {"wing", "+1", nullptr, nullptr},
      {"wing", " 1", nullptr, nullptr},
      {"wing", "1 ", nullptr, nullptr},
      {"wing", "name", nullptr, nullptr},
      {"wing", "", nullptr, nullptr},
      {"Wing", "Area", nullptr, nullptr},
      {"kxdwing00", "0", nullptr, nullptr},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(std::string(r.className) + " " + r.member);
    lookup got = Ask(r.className, r.member);
    if (!r.name) {
      EXPECT_EQ(got.result, 0);
      EXPECT_EQ(got.member, r.member);
      EXPECT_EQ(got.typeText, kUntouchedType);
    } else if (!r.type) {
      EXPECT_EQ(got.result, FindType(r.className)->size);
      EXPECT_GT(got.result, 0);
      EXPECT_EQ(got.member, "");
      EXPECT_EQ(got.typeText, kUntouchedType);
    } else {
      EXPECT_GT(got.result, 0);
      EXPECT_EQ(got.member, r.name);
      EXPECT_EQ(got.typeText, r.type);
    }
  }
  EXPECT_EQ(Ask("wing", "3").result, Ask("wing", "Y").result);
  EXPECT_LT(Ask("sound", "SoundFile").result, Ask("engine", "SoundFile").result);
}

// Every member of every type, as listed in members.txt, is found by index
// and by name at the same place, with the listed type text and a field that
// fits the type: the table is complete and nothing else is in it.
TEST(LegacySchemaTest, EveryMemberRoundTripsByIndexAndName) {
  std::ifstream listing(kxltest::FixturePath("members.txt"));
  ASSERT_TRUE(listing.good());
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> expected;
  std::vector<std::string> order;
  std::string line;
  while (std::getline(listing, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string type, index, name, text;
    fields >> type >> index;
    if (!expected.count(type)) order.push_back(type);
    auto& members = expected[type];
    if (index == "-") continue;
    fields >> name >> text;
    ASSERT_EQ(std::to_string(members.size()), index) << line;
    members.emplace_back(name, text);
  }
  ASSERT_EQ(order.size(), 21u);
  const std::map<std::string, int> widths = {{"int", 4}, {"float", 4}, {"vector", 12}};
  for (const std::string& type : order) {
    SCOPED_TRACE(type);
    const typeinfo* info = FindType(type.c_str());
    ASSERT_NE(info, nullptr);
    const auto& members = expected[type];
    ASSERT_EQ(info->Count(), static_cast<int>(members.size()));
    EXPECT_EQ(Ask(type.c_str(), std::to_string(members.size()).c_str()).result, 0);
    int previousEnd = 0;
    for (size_t i = 0; i < members.size(); ++i) {
      lookup byIndex = Ask(type.c_str(), std::to_string(i).c_str());
      lookup byName = Ask(type.c_str(), members[i].first.c_str());
      EXPECT_EQ(byIndex.member, members[i].first);
      EXPECT_EQ(byIndex.typeText, members[i].second);
      EXPECT_EQ(byName.result, byIndex.result);
      EXPECT_EQ(byName.typeText, byIndex.typeText);
      const memberinfo* m = info->At(static_cast<int>(i));
      int expectedWidth = widths.count(m->typeText) ? widths.at(m->typeText)
                          : m->name == std::string("SoundFile")   ? kSoundFileBytes
                                                                  : kNameBytes;
      EXPECT_EQ(m->bytes, expectedWidth) << m->name;
      EXPECT_GT(m->offset, 0);
      EXPECT_LE(m->offset + m->bytes, info->size) << m->name;
      // Fields never overlap; the index order is the memory order except for
      // the harrier's ForceMax, which lies after its sound fields.
      if (type != "harrier") {
        EXPECT_GE(m->offset, previousEnd) << m->name;
      }
      previousEnd = m->offset + m->bytes;
    }
  }
}

}  // namespace
