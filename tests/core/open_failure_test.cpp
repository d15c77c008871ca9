#include "core/number_text.h"
#include "port/open_failure.h"

#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quandel {
namespace {

namespace fs = std::filesystem;

struct OpenFailure : ::testing::Test {
    fs::path device = fs::temp_directory_path() / ("quandel-tty-" + std::to_string(::getpid()));
    OpenFailure() { std::ofstream(device) << ""; }
    ~OpenFailure() override { fs::remove(device); }
    std::string Group() const {
        struct stat st {};
        ::stat(device.c_str(), &st);
        const struct group *g = ::getgrgid(st.st_gid);
        return g ? g->gr_name : "";
    }
};

TEST_F(OpenFailure, ARefusedDeviceIsClassifiedByWhatThisProcessMayDo) {
    // A device this process may read and write was refused because another
    // program holds it.
    EXPECT_EQ(ClassifyRefusedOpen(device.string()), OpenRefusal::Busy);
    EXPECT_EQ(ClassifyRefusedOpen((device / "gone").string()), OpenRefusal::None);
    ::chmod(device.c_str(), 0);
    if (::access(device.c_str(), R_OK | W_OK) == 0)
        GTEST_SKIP() << "this process may open any file (root with CAP_DAC_OVERRIDE)";
    EXPECT_EQ(ClassifyRefusedOpen(device.string()), OpenRefusal::Permission);
}

TEST_F(OpenFailure, TextsNameTheDeviceAndWhatToDo) {
    const std::string path = device.string();
    const std::string permission = OpenRefusalText(OpenRefusal::Permission, path);
    EXPECT_EQ(permission.rfind(Cp1252("Keine Berechtigung für ") + path + ".\r", 0), 0u)
        << permission;
    const std::string group = Group();
    ASSERT_FALSE(group.empty());
    EXPECT_NE(permission.find(Cp1252("„") + group + Cp1252("“")), std::string::npos);
    EXPECT_NE(permission.find("ab und wieder an"), std::string::npos);
    const std::string busy = OpenRefusalText(OpenRefusal::Busy, path);
    EXPECT_EQ(busy.rfind(path + " wird schon von einem anderen Programm benutzt.", 0), 0u);
    EXPECT_EQ(OpenRefusalText(OpenRefusal::None, path), "");
}

} // namespace
} // namespace quandel
