// Scenes whose pictures are missing end the program without a box, each through its own path,
// and the program reports the failure with exit code 1.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/sim_run.h"

namespace {

namespace fs = std::filesystem;

// The data folder of sim with every picture but szMissing.
void RemovePicture(const SimRun& sim, const char* szMissing) {
    fs::path bmp = fs::path(sim.Dir()) / "data" / "bmp";
    fs::remove_all(bmp);  // the link to the build's pictures, or a copy of them
    fs::create_directory(bmp);
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(POMRIN_DATA_DIR) / "bmp")) {
        if (e.path().filename() == fs::u8path(szMissing)) continue;
        std::error_code ec;
        fs::create_symlink(e.path(), bmp / e.path().filename(), ec);
        if (ec) fs::copy(e.path(), bmp / e.path().filename(), fs::copy_options::recursive);  // bmp/en too
    }
}

TEST(LoadFailure, TitleEndsAtOnceAndOptionsThroughTheCloseRequest) {
    // The title cannot load on frame 0: the frame reports failure and the loop ends there,
    // without a box.
    {
        SimRun sim;
        RemovePicture(sim, "タイトル.bmp");
        SimResult r = sim.Run("", "--frames 50");
        EXPECT_EQ(r.nExit, 1);
        EXPECT_TRUE(r.Trace.empty());
        EXPECT_EQ(r.szStderr, "");
    }
    // The options picture is missing: the title runs, the options scene is entered on frame 60,
    // that frame still completes (the fade-in draws what it has), and the close request posted
    // there ends the program before frame 61.
    {
        SimRun sim;
        RemovePicture(sim, "オプション.bmp");
        SimResult r = sim.Run(kToOptions, "--frames 200");
        EXPECT_EQ(r.nExit, 1);
        ASSERT_EQ(r.Trace.size(), 61u);
        EXPECT_EQ(TraceInt(r.Trace[60], "scene"), 3);
        EXPECT_EQ(TraceInt(r.Trace[60], "state"), 0);
        EXPECT_EQ(r.szStderr, "");
    }
}

}  // namespace
