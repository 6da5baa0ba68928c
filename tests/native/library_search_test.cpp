// The search for the engine library, over a temporary folder tree with fake files, and the store
// of the library path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fresh_process.h"
#include "geometry/runtime_loader.h"
#include "geometry/runtime_loader_init.h"

namespace fs = std::filesystem;
namespace loader = geometry::runtime_loader;

namespace {

// <root>/app/bin/python is the executable, <root>/work/build the build folder.
class LibrarySearch : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("library_search_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "app/bin");
        fs::create_directories(root_ / "work/build");
        touch("app/bin/python");
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path touch(const fs::path& relative) {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "not a library";
        return path;
    }
    std::string search(const std::optional<std::string>& environment_value = std::nullopt) const {
        return loader::detail::search(environment_value, root_ / "app/bin/python", root_ / "work/build");
    }
    fs::path root_;
};

// Every place the search looks, from the first to the last.
const char* const kSearchOrder[] = {
    "app/bin/libcorvane.so",
    "app/bin/deps/libcorvane.so",
    "app/deps/libcorvane.so",
    "app/lib/libcorvane.so",
    "app/bin/corvane_bin/linux-x86_64/libcorvane.so",
    "app/corvane_bin/linux-x86_64/libcorvane.so",
    "corvane_bin/linux-x86_64/libcorvane.so",
    "work/build/corvane_bin/linux-x86_64/libcorvane.so",
    "work/corvane_bin/linux-x86_64/libcorvane.so",
};

TEST_F(LibrarySearch, TakesTheFirstPlaceThatExistsInOrder) {
    EXPECT_EQ(search(), "libcorvane.so") << "nothing anywhere: the dynamic loader's own search";
    // Filling the places from the last to the first, each new one must win over all later ones.
    for (size_t i = std::size(kSearchOrder); i-- > 0;) {
        const fs::path expected = touch(kSearchOrder[i]);
        EXPECT_EQ(search(), expected.string()) << kSearchOrder[i];
    }
}

TEST_F(LibrarySearch, AFolderCountsAsFound) {
    fs::create_directories(root_ / "app/deps/libcorvane.so");
    EXPECT_EQ(search(), (root_ / "app/deps/libcorvane.so").string());
}

TEST_F(LibrarySearch, WithoutAnExecutableStartsAtTheBuildFolder) {
    touch("app/bin/libcorvane.so");
    const fs::path expected = touch("work/corvane_bin/linux-x86_64/libcorvane.so");
    EXPECT_EQ(loader::detail::search(std::nullopt, std::nullopt, root_ / "work/build"), expected.string());
}

TEST_F(LibrarySearch, EnvironmentValueComesFirstWhenItExistsAndIsUtf8) {
    touch("app/bin/libcorvane.so");
    const fs::path named = touch("elsewhere/engine.so");
    EXPECT_EQ(search(named.string()), named.string());

    fs::create_directories(root_ / "folder");
    EXPECT_EQ(search((root_ / "folder").string()), (root_ / "folder").string()) << "a folder is taken";

    const fs::path beside = root_ / "app/bin/libcorvane.so";
    EXPECT_EQ(search((root_ / "missing.so").string()), beside.string()) << "a missing file is passed over";
    const fs::path not_utf8 = touch("bad\xff.so");
    EXPECT_EQ(search(not_utf8.string()), beside.string()) << "a value that is not UTF-8 is passed over";
}

TEST(LibraryPathStore, ReturnsTheLastStoredPath) {
    loader::detail::PathStore store;
    EXPECT_EQ(loader::detail::stored_path(store), std::nullopt);
    loader::detail::store_path(store, "/a/libcorvane.so");
    loader::detail::store_path(store, "/b/libcorvane.so");
    EXPECT_EQ(loader::detail::stored_path(store), "/b/libcorvane.so");
}

TEST(LibraryPathStore, StopsOncePoisoned) {
    loader::detail::PathStore store;
    poison(store);
    const std::string poisoned = "Failed to acquire lock on GEOMETRY_LIB_PATH: PoisonError { .. }";
    EXPECT_EQ(stop_message([&] { loader::detail::stored_path(store); }), poisoned);
    EXPECT_EQ(stop_message([&] { loader::detail::store_path(store, "/x"); }), poisoned);
}

TEST(InitWithLibrary, MissingFileIsNotFoundAndStoresNothing) {
    const std::string before = loader::find_library_path();
    const auto result = loader::init_with_library("/nonexistent/lib\xff" "corvane.so");
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().kind, loader::IoError::Kind::NotFound);
    EXPECT_EQ(result.error().message, "Could not find dynamic library at /nonexistent/lib\uFFFD" "corvane.so");
    EXPECT_EQ(loader::find_library_path(), before);
}

TEST(InitWithLibrary, OtherFileSystemErrorsAreReturned) {
    const auto result = loader::init_with_library("/etc/passwd/libcorvane.so");
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().kind, loader::IoError::Kind::Other);
    EXPECT_EQ(result.error().message, "Not a directory (os error 20)");
}

}  // namespace
