// The file access PROJ is given: only regular files open, and nothing waits. A FIFO opened the
// ordinary way blocks until a writer comes, so a wrong answer here shows as a hang (ctest's timeout).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/proj_context.h"
#include "model/proj_files.h"

namespace {

class ProjFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("vornix_proj_files_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_ / "directory");
        std::ofstream(folder_ / "regular") << "grid";
        ASSERT_EQ(mkfifo((folder_ / "fifo").c_str(), 0600), 0);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string path(const char* name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

TEST_F(ProjFiles, OnlyRegularFilesOpenAndExist) {
    const PROJ_FILE_API& api = model::proj::regular_file_api();
    model::proj::Session session;
    PJ_CONTEXT* context = session.context();
    struct Case {
        const char* name;
        bool opens, exists;
    };
    for (const Case& c : {Case{"regular", true, true}, Case{"fifo", false, false}, Case{"directory", false, true},
                          Case{"missing", false, false}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(api.exists_cbk(context, path(c.name).c_str(), nullptr) != 0, c.exists);
        for (auto access : {PROJ_OPEN_ACCESS_READ_ONLY, PROJ_OPEN_ACCESS_READ_UPDATE}) {
            PROJ_FILE_HANDLE* file = api.open_cbk(context, path(c.name).c_str(), access, nullptr);
            EXPECT_EQ(file != nullptr, c.opens);
            if (file == nullptr) continue;
            char text[8] = {};
            EXPECT_EQ(api.read_cbk(context, file, text, sizeof text, nullptr), 4u);
            EXPECT_STREQ(text, "grid");
            EXPECT_TRUE(api.seek_cbk(context, file, 1, SEEK_SET, nullptr));
            EXPECT_EQ(api.tell_cbk(context, file, nullptr), 1u);
            api.close_cbk(context, file, nullptr);
        }
    }
}

// The engine's context reads through it: a grid that is a FIFO is missing, not waited for.
TEST_F(ProjFiles, GridThatIsAFifoIsMissing) {
    model::proj::set_grid_directory(folder_.string());
    {
        model::proj::Session session;
        PJ* shift = proj_create(session.context(), "+proj=hgridshift +grids=fifo");
        EXPECT_EQ(shift, nullptr);
        proj_destroy(shift);
    }
    model::proj::set_grid_directory("");
}

}  // namespace
