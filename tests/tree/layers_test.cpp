// The layers point down: no library folder includes the program above it,
// widget-free folders include no widget header, and the README's layout
// table names exactly the folders the tree has. A stray include compiles
// fine for years before it makes a cycle; this catches it on the day it lands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot{HALVIX_SOURCE_DIR};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every quoted include of the sources below a folder, as "file: include".
std::vector<std::string> IncludesOf(const std::string& folder, const std::regex& wanted) {
  std::vector<std::string> found;
  static const std::regex kInclude(R"(#\s*include\s*[<"]([^">]+)[">])");
  for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string text = ReadFile(entry.path());
    for (std::sregex_iterator it(text.begin(), text.end(), kInclude), end; it != end; ++it) {
      const std::string target = (*it)[1].str();
      if (std::regex_search(target, wanted)) {
        found.push_back(fs::relative(entry.path(), kRoot).generic_string() + ": " + target);
      }
    }
  }
  return found;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

}  // namespace

TEST(Layers, NoLibraryFolderIncludesTheProgramAboveIt) {
  // bench/, docs/ and tests/ drive whole programs and may reach the top.
  const std::regex app("^app/");
  for (const char* folder : {"monitor", "commands", "tools", "reports", "recording", "session",
                             "analysis", "link", "widgets", "platform", "sim"}) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(Joined(IncludesOf(folder, app)), "");
  }
}

TEST(Layers, WidgetFreeFoldersIncludeNoWidgets) {
  const std::regex widgets("^(widgets/|QtWidgets|QWidget|QDialog|QMainWindow|QMessageBox|QLabel|QPushButton)");
  for (const char* folder :
       {"monitor", "recording", "session", "analysis", "link", "platform", "sim"}) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(Joined(IncludesOf(folder, widgets)), "");
  }
}

TEST(Layers, TheReadmesLayoutTableNamesEveryFolderOfTheTree) {
  const std::string readme = ReadFile(kRoot / "README.md");
  const std::size_t table = readme.find("## Layout");
  ASSERT_NE(table, std::string::npos);
  std::set<std::string> listed;
  static const std::regex kRow(R"(\n\| `([a-z_]+)/` \|)");
  const std::string rest = readme.substr(table);
  for (std::sregex_iterator it(rest.begin(), rest.end(), kRow), end; it != end; ++it) {
    listed.insert((*it)[1].str());
  }
  std::set<std::string> present;
  for (const auto& entry : fs::directory_iterator(kRoot)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory() || name.front() == '.' || name.rfind("build", 0) == 0) continue;
    if (name == "scripts") continue;  // the README's quick start names it
    present.insert(name);
  }
  EXPECT_EQ(listed, present);
}
