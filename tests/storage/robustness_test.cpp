// The data files when db/ holds something other than the files we build:
// a named pipe or a device in place of a file, and a database larger than
// the layer reads. Each is refused at once with the message the user sees,
// without waiting for a writer or reading without end.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "storage/city_list.h"
#include "storage/database.h"

namespace toravel {
namespace {

class DataFileRobustnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("toravel-data-robustness-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_ / "db");
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(directory_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(directory_);
    }

    // The message of what `open` throws, or "(no error)". A call still
    // running after ten seconds is waiting for ever: the test program ends
    // with a failure instead of hanging the suite.
    static std::string ErrorOf(const std::function<void()>& open) {
        std::promise<std::string> result;
        std::future<std::string> done = result.get_future();
        std::thread([&open, promise = std::move(result)]() mutable {
            try {
                open();
                promise.set_value("(no error)");
            } catch (const std::exception& e) {
                promise.set_value(e.what());
            }
        }).detach();
        if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "still waiting after 10 s";
            std::_Exit(1);
        }
        return done.get();
    }

    std::filesystem::path directory_;
    std::filesystem::path previous_;
};

TEST_F(DataFileRobustnessTest, PipesAndDevicesAreNoDataFiles) {
    const auto cityList = [] { LoadCityList(".\\db\\atlas.ini"); };
    const auto database = [] { DatabaseConnection connection(HoroscopeConnectionString); };
    const std::string cityListError = "Cannot open file .\\db\\atlas.ini";
    const std::string databaseError = "Could not find file '.\\DB\\bd.mdb'";

    ASSERT_EQ(::mkfifo("db/atlas.ini", 0600), 0);
    ASSERT_EQ(::mkfifo("db/bd.mdb", 0600), 0);
    EXPECT_EQ(ErrorOf(cityList), cityListError) << "a named pipe without a writer";
    EXPECT_EQ(ErrorOf(database), databaseError) << "a named pipe without a writer";

    std::filesystem::remove("db/atlas.ini");
    std::filesystem::remove("db/bd.mdb");
    std::filesystem::create_symlink("/dev/zero", "db/atlas.ini");
    std::filesystem::create_symlink("/dev/zero", "db/bd.mdb");
    EXPECT_EQ(ErrorOf(cityList), cityListError) << "a device without end";
    EXPECT_EQ(ErrorOf(database), databaseError) << "a device without end";
}

TEST_F(DataFileRobustnessTest, DatabaseLargerThanTheLayerReadsIsRefusedUnread) {
    {
        std::ofstream file("db/bd.mdb", std::ios::binary);
        file << "TRVLBD\r\n";
    }
    // Sparse: the size is there, the bytes are not.
    std::filesystem::resize_file("db/bd.mdb", MaxDatabaseFileBytes + 1);
    EXPECT_EQ(ErrorOf([] { DatabaseConnection connection(HoroscopeConnectionString); }),
              "Database file '.\\DB\\bd.mdb' is damaged or has been altered");
}

} // namespace
} // namespace toravel
