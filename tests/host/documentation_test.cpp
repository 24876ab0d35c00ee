// What the guides say of the build: the version they name is the one built,
// in the shipped guide's title and in every sample of the project's README.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string SourceFile(const std::string& name) {
  std::ostringstream text;
  text << std::ifstream(std::string(SOURCE_FOLDER) + "/" + name).rdbuf();
  return text.str();
}

TEST(DocumentationTest, EveryVersionNamedIsTheOneBuilt) {
  const std::string guide = SourceFile("docs/windows-guide.txt");
  EXPECT_EQ(guide.substr(0, guide.find_first_of("\r\n")),
            std::string("HD66712 display driver ") + HD66712_VERSION);
  const std::string readme = SourceFile("README.md");
  // As in "v1.0.4.21" and "hd66712-tools_1.0.4.21_amd64.deb" too.
  const std::regex version(R"((^|[^0-9.])([0-9]+(\.[0-9]+){3})(?![0-9.]))");
  int named = 0;
  for (auto found = std::sregex_iterator(readme.begin(), readme.end(), version);
       found != std::sregex_iterator(); ++found, ++named) {
    EXPECT_EQ(found->str(2), HD66712_VERSION) << "README.md at byte " << found->position(2);
  }
  EXPECT_GE(named, 3) << "README.md names the version in its samples";
}

}  // namespace
